#include "corvane/plan/dialog_adapter.h"

#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"

namespace {

constexpr const char* kLinkAt9600 = "com: ";
constexpr const char* kLinkAt115200 = "communication established";
constexpr const char* kDetected = "communication port: ";

bool isRadio(int id) {
  using namespace corvane_ids;
  for (int format : kFormatButtons)
    if (id == format) return true;
  return id == kAudio || id == kStatus || id == kSia110 || id == kDebug || id == kReduce6db ||
         id == kTone1400 || id == kTerminalEnable;
}

}  // namespace

DialogAdapter::DialogAdapter(CCorvaneDlg& dlg, ControlPanel& panel) : dlg_(dlg), panel_(panel) {}

void DialogAdapter::typeText(int id, const std::string& text) {
  panel_.setText(id, text);
  dlg_.onTextChanged(id);
}

void DialogAdapter::click(int id) {
  if (isRadio(id)) panel_.setChecked(id, true);
  dlg_.onClicked(id);
}

int DialogAdapter::linkBaudAtStartUp() const {
  const std::string& text = dlg_.display.receivedText;
  if (text.starts_with(kLinkAt9600)) return 9600;
  if (text.starts_with(kLinkAt115200)) return 115200;
  return 0;
}

bool DialogAdapter::portDetected() const { return dlg_.display.receivedText.starts_with(kDetected); }

DialogAdapter::TickNews DialogAdapter::look() {
  TickNews news;
  const int pending = dlg_.delivery.successPending;
  const std::string& text = dlg_.display.receivedText;
  if (looked_) {
    // Only a report acted on brings the pending count back to 0.
    news.reportRead = pending > pendingBefore_;
    news.deliveryActedOn = pendingBefore_ != 0 && pending == 0;
    news.shown = textGained(textBefore_, text);
  }
  looked_ = true;
  pendingBefore_ = pending;
  textBefore_ = text;
  return news;
}

std::string textGained(const std::string& before, const std::string& after) {
  // The display keeps what it had, less lines trimmed from its front, and appends: the
  // gain follows the longest tail of before that after begins with.
  for (std::size_t dropped = 0; dropped < before.size(); ++dropped) {
    const std::string_view rest = std::string_view(before).substr(dropped);
    if (std::string_view(after).starts_with(rest)) return after.substr(rest.size());
  }
  return after;
}
