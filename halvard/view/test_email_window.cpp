#include "halvard/view/test_email_window.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kWidthPx = 760;
constexpr int kHeightPx = 320;

QString verdictStyle(TestEmailReport::Result result) {
  switch (result) {
    case TestEmailReport::Result::kDelivered:
      return QStringLiteral("color: #1b6e20; font-weight: bold;");
    case TestEmailReport::Result::kRunning:
      return QStringLiteral("font-weight: bold;");
    default:
      return QStringLiteral("color: #a31515; font-weight: bold;");
  }
}

}  // namespace

TestEmailWindow::TestEmailWindow(std::function<void()> onCancel, QWidget* parent)
    : QDialog(parent), onCancel_(std::move(onCancel)) {
  setObjectName(QStringLiteral("testEmailWindow"));
  setWindowTitle(QStringLiteral("Test e-mail"));
  setModal(false);
  verdict_ = new QLabel(this);
  verdict_->setObjectName(QStringLiteral("verdict"));
  verdict_->setAccessibleName(QStringLiteral("verdict"));
  verdict_->setWordWrap(true);
  verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  stages_ = new QPlainTextEdit(this);
  stages_->setObjectName(QStringLiteral("stages"));
  stages_->setAccessibleName(QStringLiteral("stages"));
  stages_->setReadOnly(true);
  stages_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  stages_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* buttons = new QDialogButtonBox(this);
  cancel_ = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancel_->setObjectName(QStringLiteral("cancel"));
  close_ = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::AcceptRole);
  close_->setObjectName(QStringLiteral("close"));
  for (QPushButton* button : {cancel_, close_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  // Cancel ends the test and keeps the window, to show how far it came.
  connect(cancel_, &QPushButton::clicked, this, [this] {
    if (onCancel_) onCancel_();
  });
  connect(close_, &QPushButton::clicked, this, &QDialog::hide);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(verdict_);
  layout->addWidget(stages_, 1);
  layout->addWidget(buttons);
  resize(kWidthPx, kHeightPx);
}

void TestEmailWindow::showReport(const TestEmailReport& report) {
  verdict_->setText(QString::fromStdString(summaryLine(report)));
  verdict_->setStyleSheet(verdictStyle(report.result));
  QStringList lines;
  for (const std::string& line : reportLines(report)) lines << QString::fromStdString(line);
  // The summary is the verdict on top: the list holds the stages.
  if (!lines.isEmpty() && report.result != TestEmailReport::Result::kNotStarted) lines.removeLast();
  QString text = lines.join(QLatin1Char('\n'));
  if (stages_->toPlainText() != text) stages_->setPlainText(text);
  cancel_->setEnabled(report.result == TestEmailReport::Result::kRunning);
}

void TestEmailWindow::bringToFront() {
  show();
  raise();
  activateWindow();
}

QString TestEmailWindow::verdictText() const { return verdict_->text(); }
QString TestEmailWindow::stagesText() const { return stages_->toPlainText(); }
