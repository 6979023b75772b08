#pragma once

#include <QPlainTextEdit>
#include <string>
#include <string_view>

// A multi-line edit holding bytes, shown as bytesToDisplayText() describes: word
// wrapped, with a vertical scroll bar. Enter is left to the dialog (its default
// action) and Tab moves the focus, as in the original dialogs; Ctrl+Enter starts a
// new line.
class MultiLineEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit MultiLineEdit(QWidget* parent);

  std::string bytes() const;
  // Replaces the text only when it differs from what is shown, so a refresh of the
  // same text neither flickers nor loses the operator's selection or scroll position.
  // A new text scrolls to its end: the newest line stays in view.
  void setBytes(std::string_view bytes);

 signals:
  // The operator changed the text; never emitted for setBytes().
  void editedByOperator();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString shownText() const;

  bool settingText_ = false;
};
