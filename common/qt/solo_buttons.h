#pragma once

#include <QPushButton>
#include <QRadioButton>

class QLabel;

// Buttons that behave as the dialogs' logic expects: only handlers change their state.

// A push button whose caption wraps at word boundaries inside its rectangle, each
// line centred, the block centred vertically. It is never a default button, so the
// Enter key reaches the dialog.
class WrappingPushButton : public QPushButton {
  Q_OBJECT

 public:
  WrappingPushButton(const QString& caption, bool wrapCaption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* label_ = nullptr;  // the wrapped caption; null for a one-line caption
};

// An automatic radio button alone in its group: a click always leaves it checked
// (it never toggles off), and only the program clears it. With wrapCaption the caption
// wraps beside the indicator, and a click anywhere on the control counts.
class SoloRadioButton : public QRadioButton {
  Q_OBJECT

 public:
  SoloRadioButton(const QString& caption, bool wrapCaption, QWidget* parent);

 protected:
  void nextCheckState() override;
  bool hitButton(const QPoint& pos) const override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* label_ = nullptr;
};
