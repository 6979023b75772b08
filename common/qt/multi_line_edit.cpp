#include "common/qt/multi_line_edit.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextDocument>

#include "common/qt/latin1_text.h"

MultiLineEdit::MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setTabChangesFocus(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (!settingText_) emit editedByOperator();
  });
}

QString MultiLineEdit::shownText() const {
  // toPlainText() would turn a no-break space (byte A0) into a blank; the raw text
  // keeps it and joins the lines with paragraph separators instead.
  QString raw = document()->toRawText();
  raw.replace(QChar::ParagraphSeparator, QChar(u'\n'));
  raw.replace(QChar::LineSeparator, QChar(u'\n'));
  return raw;
}

std::string MultiLineEdit::bytes() const { return displayTextToBytes(shownText()); }

void MultiLineEdit::setBytes(std::string_view bytes) {
  QString shown = bytesToDisplayText(bytes);
  if (shown == shownText()) return;
  settingText_ = true;
  setPlainText(shown);
  settingText_ = false;
  moveCursor(QTextCursor::End);
  ensureCursorVisible();
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void MultiLineEdit::keyPressEvent(QKeyEvent* event) {
  bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && !(event->modifiers() & Qt::ControlModifier)) {
    event->ignore();
    return;
  }
  if (enter) {
    insertPlainText(QStringLiteral("\n"));
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}
