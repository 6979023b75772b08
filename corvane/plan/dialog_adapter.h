#pragma once

#include <string>

#include "common/control_panel.h"

class CCorvaneDlg;

// The one place where the plan runner touches Corvane's dialog logic. It acts only as
// the operator does, through the dialog's public events (a control changed on the
// panel, then onTextChanged or onClicked), so every byte and pause on the wire is that
// of the same clicks in the window; and it reads back only what the poll tick keeps:
// the delivery watch and the "message received" display.
class DialogAdapter {
 public:
  // Both must outlive the adapter; panel is the one the dialog was built over.
  DialogAdapter(CCorvaneDlg& dlg, ControlPanel& panel);

  // --- the operator ------------------------------------------------------------------
  // Puts text into an edit as one change (a paste over its whole text), then the
  // dialog's notification for it.
  void typeText(int id, const std::string& text);
  // A click; a radio button is shown checked before the handler runs, as in the window.
  void click(int id);
  bool shownChecked(int id) const { return panel_.checked(id); }
  std::string shownText(int id) const { return panel_.text(id); }

  // --- what start-up and port detection showed -----------------------------------------
  // The speed the module answered at during start-up's link test, 0 when it did not:
  // the display then begins with "com: n" (9600) or "communication established"
  // (115200). Valid right after startUp().
  int linkBaudAtStartUp() const;
  // After a click on "auto detect commport": whether a port answered.
  bool portDetected() const;

  // --- after each poll tick -------------------------------------------------------------
  struct TickNews {
    bool reportRead = false;       // a delivery report was read (it waits for a quiet tick)
    bool deliveryActedOn = false;  // a report was acted on: delivered
    std::string shown;             // what the display gained since the last look
  };
  // What changed since the last look. Call after every tick, so that no report goes by
  // unseen; the first look only takes the state as it stands.
  TickNews look();

 private:
  CCorvaneDlg& dlg_;
  ControlPanel& panel_;
  int pendingBefore_ = 0;
  std::string textBefore_;
  bool looked_ = false;
};

// What a text gained on its way from before to after, when the display may also have
// dropped lines from its front meanwhile (or been replaced whole).
std::string textGained(const std::string& before, const std::string& after);
