#pragma once

#include <QPlainTextEdit>
#include <string>
#include <string_view>

// A multi-line edit holding bytes, shown as bytesToDisplayText() describes: word
// wrapped, with a vertical scroll bar. Enter is left to the dialog (its default
// action) and Tab moves the focus, as in the rest of the dialog; Ctrl+Enter starts a
// new line.
class MultiLineEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit MultiLineEdit(QWidget* parent);

  std::string bytes() const;
  // Shows bytes, touching the widget only where they differ from what it shows, so a
  // refresh neither flickers nor loses the operator's selection or caret. A text
  // that keeps (a tail of) the shown one and adds to it, as a receive display does,
  // is updated in place: the new tail is appended and the dropped head removed, at a
  // cost that does not grow with the text. Anything else replaces the whole text.
  // The newest line stays in view unless the operator has scrolled back to read.
  void setBytes(std::string_view bytes);

 signals:
  // The operator changed the text; never emitted for setBytes().
  void editedByOperator();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString shownText() const;
  bool scrolledToEnd() const;
  // Both return whether the text shown changed.
  bool updateInPlace(std::string_view bytes);
  bool replaceAll(std::string_view bytes);

  bool settingText_ = false;
  // The bytes last given to setBytes(), while the text still shows exactly them (an
  // edit by the operator makes it unknown again).
  std::string lastBytes_;
  bool lastBytesShown_ = false;
  int headLinesDropped_ = 0;  // by the last update in place
};
