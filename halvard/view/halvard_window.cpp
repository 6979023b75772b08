#include "halvard/view/halvard_window.h"

#include <unistd.h>

#include <QBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "common/steady_clock.h"
#include "halvard/control_ids.h"
#include "halvard/test_email/curl_transport.h"
#include "halvard/view/halvard_template.h"
#include "halvard/view/qt_dialog_thread.h"
#include "halvard/view/test_email_window.h"

namespace {

std::string thisHostName() {
  char name[256] = "";
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace

HalvardWindow::HalvardWindow(SerialPort& mainPort, SerialPort& secondPort, Clock& clock,
                             StatusFanOut& status, const std::filesystem::path& workDir,
                             std::unique_ptr<MailTransport> transport, TestEmailRunOptions testOptions)
    : TemplateDialog(halvardTemplate()), status_(status), transport_(std::move(transport)) {
  // The password is shown as dots, and assistive technology is told it is a password
  // field; the logic and the file still get the text as typed.
  if (auto* password = qobject_cast<QLineEdit*>(control(halvard_ids::kPassword))) {
    password->setEchoMode(QLineEdit::Password);
  }
  setWorkingFolder(QString::fromStdString(workDir.string()));
  status_.add(&statusLine());
  logic_ = std::make_unique<CHalvardDlg>(
      CHalvardDlg::Environment{mainPort, secondPort, clock, *this, status_, workDir});
  CHalvardDlg& dlg = *logic_;

  if (!transport_) transport_ = std::make_unique<CurlTransport>();
  if (testOptions.hostName.empty()) testOptions.hostName = thisHostName();
  dialogThread_ = new QtDialogThread(this);
  testEmailWindow_ = new TestEmailWindow([this] { testEmail_->cancel(); }, this);
  testEmail_ = std::make_unique<TestEmail>(TestEmail::Environment{
      *transport_, *dialogThread_, status_, *testEmailWindow_, std::make_unique<SteadyClock>(), testOptions});
  dlg.attachTestEmail(testEmail_.get());
  addTestEmailRow();

  setHandlers(Handlers{
      [&dlg](int id) { dlg.onTextChanged(id); },
      [&dlg](int id) { dlg.onClicked(id); },
      [&dlg] { return dlg.storeControls(); },  // the standard OK: store, then close
      [&dlg] { dlg.onTimer(); },
  });
  dlg.startUp();
  startPollTimer(CHalvardDlg::kPollPeriodMs);
}

void HalvardWindow::addTestEmailRow() {
  auto* row = new QWidget(this);
  row->setObjectName(QStringLiteral("testEmailRow"));
  auto* rowLayout = new QHBoxLayout(row);
  const QRect margin = units().toPixels(7, 2, 7, 2);
  rowLayout->setContentsMargins(margin.x(), margin.y() / 2, margin.x(), margin.y() / 2);
  testEmailButton_ = new QPushButton(QStringLiteral("Send a &test e-mail"), row);
  testEmailButton_->setObjectName(QStringLiteral("control%1").arg(halvard_ids::kSendTestEmail));
  testEmailButton_->setAccessibleName(QStringLiteral("Send a test e-mail"));
  testEmailButton_->setToolTip(
      QStringLiteral("Sends one e-mail with the settings as they stand now and shows what happened "
                     "at each stage (Ctrl+T). The settings files are not changed."));
  testEmailButton_->setAutoDefault(false);
  testEmailButton_->setDefault(false);
  rowLayout->addWidget(testEmailButton_);
  rowLayout->addStretch(1);
  auto send = [this] { logic_->onClicked(halvard_ids::kSendTestEmail); };
  connect(testEmailButton_, &QPushButton::clicked, this, send);
  auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
  key->setObjectName(QStringLiteral("testEmailKey"));
  connect(key, &QShortcut::activated, this, send);
  // Between the template's page and the status line; the window grows by the row.
  if (auto* frame = qobject_cast<QBoxLayout*>(layout())) frame->insertWidget(1, row);
  const QSize grown = naturalSize() + QSize(0, row->sizeHint().height());
  setMaximumSize(grown);
  resize(grown);
}

HalvardWindow::~HalvardWindow() {
  pollTimer().stop();
  setHandlers({});
  // A test still on its way is cancelled and its thread ended before the logic goes.
  logic_->attachTestEmail(nullptr);
  testEmail_.reset();
  logic_->onDestroy();
  status_.remove(&statusLine());
}
