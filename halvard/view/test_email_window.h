#pragma once

#include <QDialog>
#include <functional>

#include "halvard/test_email/test_email.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The small window that shows a test e-mail's stages as they come: the verdict on
// top, one line a stage below, Cancel while the test runs, Close. It opens beside
// Halvard's window and never blocks it; closing it lets a running test go on, whose
// verdict then still reaches the status line.
class TestEmailWindow : public QDialog, public TestEmailView {
  Q_OBJECT

 public:
  // onCancel runs when the operator presses Cancel.
  TestEmailWindow(std::function<void()> onCancel, QWidget* parent);

  void showReport(const TestEmailReport& report) override;
  void bringToFront() override;

  QString verdictText() const;
  QString stagesText() const;
  QPushButton& cancelButton() const { return *cancel_; }

 private:
  std::function<void()> onCancel_;
  QLabel* verdict_ = nullptr;
  QPlainTextEdit* stages_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* close_ = nullptr;
};
