#include "common/qt/multi_line_edit.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <optional>

#include "common/qt/latin1_text.h"

namespace {

// How much of the new text is looked for in the old one to find where the kept part
// starts, and how many places that is tried at, before the whole text is set instead.
constexpr std::size_t kOverlapProbeBytes = 64;
constexpr int kOverlapTries = 32;

// The d for which the new text starts with old[d..] (nothing kept: none). A receive
// display only ever drops a head and adds a tail.
std::optional<std::size_t> droppedHead(std::string_view old, std::string_view text) {
  if (text.substr(0, old.size()) == old) return 0;
  std::string_view probe = text.substr(0, kOverlapProbeBytes);
  if (probe.empty()) return std::nullopt;
  std::size_t at = old.find(probe, 1);
  for (int tries = 0; at != std::string_view::npos && tries < kOverlapTries; ++tries) {
    std::string_view kept = old.substr(at);
    if (kept.size() <= text.size() && text.substr(0, kept.size()) == kept) return at;
    at = old.find(probe, at + 1);
  }
  return std::nullopt;
}

int lineBreaks(std::string_view bytes) {
  int breaks = 0;
  for (std::size_t at = bytes.find("\r\n"); at != std::string_view::npos;
       at = bytes.find("\r\n", at + 2))
    ++breaks;
  return breaks;
}

// How many characters of the display the bytes take: a CR LF pair is one line break.
int shownLength(std::string_view bytes) {
  int length = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i, ++length)
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
  return length;
}

}  // namespace

MultiLineEdit::MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setTabChangesFocus(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (settingText_) return;
    lastBytesShown_ = false;
    emit editedByOperator();
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

bool MultiLineEdit::scrolledToEnd() const {
  const QScrollBar* bar = verticalScrollBar();
  return bar->value() >= bar->maximum();
}

void MultiLineEdit::setBytes(std::string_view bytes) {
  if (lastBytesShown_ && bytes == lastBytes_) return;
  const bool followEnd = scrolledToEnd();
  const int scrolledTo = verticalScrollBar()->value();
  headLinesDropped_ = 0;
  settingText_ = true;
  bool inPlace = lastBytesShown_;
  bool changed = false;
  if (inPlace) {
    // A refresh must not add to the operator's undo history, which would otherwise
    // grow with every tick; switching undo off clears it, as setting the text did.
    document()->setUndoRedoEnabled(false);
    inPlace = updateInPlace(bytes);
    changed = inPlace;
    document()->setUndoRedoEnabled(true);
  }
  if (!inPlace) changed = replaceAll(bytes);
  settingText_ = false;
  lastBytes_.assign(bytes);
  lastBytesShown_ = true;
  if (!changed) return;
  QScrollBar* bar = verticalScrollBar();
  if (!inPlace) {
    moveCursor(QTextCursor::End);
    ensureCursorVisible();
    bar->setValue(bar->maximum());
  } else if (followEnd) {
    bar->setValue(bar->maximum());
  } else {
    // The operator reads further back: the lines dropped above must not move the
    // text under the eyes.
    bar->setValue(scrolledTo - headLinesDropped_);
  }
}

bool MultiLineEdit::updateInPlace(std::string_view bytes) {
  const std::string_view old = lastBytes_;
  std::optional<std::size_t> drop = droppedHead(old, bytes);
  if (!drop || *drop == old.size()) return false;
  // A cut between the CR and the LF of a line break turns the kept LF into a lone
  // one, shown otherwise: rare enough to set the whole text.
  if (*drop > 0 && old[*drop - 1] == '\r' && old[*drop] == '\n') return false;
  const std::size_t kept = old.size() - *drop;

  QTextCursor cursor(document());
  if (*drop > 0) {
    // The scroll bar counts lines as laid out, a wrapped block taking several.
    QTextBlock block = document()->firstBlock();
    for (int n = lineBreaks(old.substr(0, *drop)); n > 0 && block.isValid(); --n) {
      headLinesDropped_ += std::max(1, block.lineCount());
      block = block.next();
    }
    cursor.setPosition(shownLength(old.substr(0, *drop)), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  }
  std::string_view tail = bytes.substr(kept);
  if (!tail.empty()) {
    cursor.movePosition(QTextCursor::End);
    if (old.back() == '\r' && tail.front() == '\n') {
      // The CR shown alone at the end becomes a line break with the LF that follows.
      cursor.deletePreviousChar();
      cursor.insertText(bytesToDisplayText(std::string("\r").append(tail)));
    } else {
      cursor.insertText(bytesToDisplayText(tail));
    }
  }
  return true;
}

bool MultiLineEdit::replaceAll(std::string_view bytes) {
  QString shown = bytesToDisplayText(bytes);
  if (shown == shownText()) return false;
  setPlainText(shown);
  return true;
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
