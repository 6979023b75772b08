#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <string>
#include <vector>

#include "common/qt/latin1_text.h"
#include "common/qt/multi_line_edit.h"
#include "fakes/qt_test_environment.h"

namespace {

using namespace std::string_literals;

TEST(DisplayTextTest, OnlyCrLfBreaksALine) {
  EXPECT_EQ(bytesToDisplayText("OK\r\nA\rB\nC"), QStringLiteral(u"OK\nA\u240dB\u240aC"));
  // A CR as the 25th character of a line arrives as CR CR LF LF.
  EXPECT_EQ(bytesToDisplayText("x\r\r\n\ny"), QStringLiteral(u"x\u240d\n\u240ay"));
  EXPECT_EQ(bytesToDisplayText("\t\x1b"s + '\0'), QStringLiteral(u"\t\u241b\u2400"));
}

TEST(DisplayTextTest, BytesComeBackExactly) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  for (const std::string& bytes : {all, "x\r\r\n\ny"s, "\n\r"s, "\r\n\r\n"s, "\xa0\xff"s}) {
    EXPECT_EQ(displayTextToBytes(bytesToDisplayText(bytes)), bytes);
  }
}

class MultiLineEditTest : public ::testing::Test {
 protected:
  MultiLineEditTest() : edit(nullptr) {
    edit.resize(300, 120);
    edit.show();
    QObject::connect(&edit, &MultiLineEdit::editedByOperator, [this] { ++edited; });
  }
  static std::string lines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
  }

  MultiLineEdit edit;
  int edited = 0;
};

TEST_F(MultiLineEditTest, ShowsLinesAndReadsBackTheSameBytes) {
  std::string bytes = "OK\r\nA\rB\nC\xa0\r\r\n\n"s + '\0';
  edit.setBytes(bytes);
  EXPECT_EQ(edit.blockCount(), 3);
  EXPECT_EQ(edit.document()->firstBlock().text(), QStringLiteral("OK"));
  EXPECT_EQ(edit.bytes(), bytes);
  EXPECT_EQ(edited, 0);
}

TEST_F(MultiLineEditTest, SameTextLeavesScrollAndSelectionAlone) {
  edit.setBytes(lines(100));
  edit.verticalScrollBar()->setValue(0);
  QTextCursor cursor = edit.textCursor();
  cursor.setPosition(0);
  cursor.setPosition(4, QTextCursor::KeepAnchor);
  edit.setTextCursor(cursor);
  edit.verticalScrollBar()->setValue(0);

  edit.setBytes(lines(100));
  EXPECT_EQ(edit.verticalScrollBar()->value(), 0);
  EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("line"));
}

TEST_F(MultiLineEditTest, UpdatesInPlaceShowTheSameAsTheWholeText) {
  // What a receive display goes through: tails added, heads dropped, a CR LF split
  // over two ticks, a cut right between a CR and its LF, a text that starts anew.
  const std::vector<std::string> steps = {
      "",
      "OK",
      "OK\r",
      "OK\r\nAT",
      "OK\r\nAT\r\n\r\nX\x01",
      "\nAT\r\n\r\nX\x01\rY",      // dropped "OK\r": the kept LF is alone now
      "AT\r\n\r\nX\x01\rY\r",
      "\r\nX\x01\rY\r\n\n",
      "X\x01\rY\r\n\nZ\xa0",
      "something else\r\n",
      "something else\r\nand more",
      "",
  };
  for (const std::string& bytes : steps) {
    edit.setBytes(bytes);
    EXPECT_EQ(edit.bytes(), bytes);
    EXPECT_EQ(edit.toPlainText().size(), bytesToDisplayText(bytes).size()) << bytes;
  }
  EXPECT_EQ(edited, 0);
}

TEST_F(MultiLineEditTest, AnOperatorsEditIsShownOverByTheNextRefresh) {
  edit.setBytes("line 1\r\n");
  edit.setFocus();
  edit.moveCursor(QTextCursor::End);
  QTest::keyClicks(&edit, "typed");
  EXPECT_EQ(edited, 5);
  edit.setBytes("line 1\r\nline 2\r\n");
  EXPECT_EQ(edit.bytes(), "line 1\r\nline 2\r\n");
}

TEST_F(MultiLineEditTest, ARefreshKeepsTheOperatorsSelectionAndAddsNoUndoStep) {
  std::string text = lines(40);
  edit.setBytes(text);
  QTextCursor cursor = edit.textCursor();
  int at = static_cast<int>(bytesToDisplayText(lines(19)).size());
  cursor.setPosition(at);
  cursor.setPosition(at + 7, QTextCursor::KeepAnchor);
  edit.setTextCursor(cursor);
  ASSERT_EQ(edit.textCursor().selectedText(), QStringLiteral("line 20"));

  for (int i = 41; i <= 45; ++i) {  // one line dropped, one added, as the trim does
    text = text.substr(text.find('\n') + 1) + "line " + std::to_string(i) + "\r\n";
    edit.setBytes(text);
  }
  EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("line 20"));
  EXPECT_EQ(edit.bytes(), text);
  EXPECT_FALSE(edit.document()->isUndoAvailable());
}

TEST_F(MultiLineEditTest, NewTextFollowsTheEndUnlessTheOperatorScrolledBack) {
  std::string text = lines(100);
  edit.setBytes(text);
  QScrollBar* bar = edit.verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  text += "line 101\r\n";
  edit.setBytes(text);
  EXPECT_EQ(bar->value(), bar->maximum());

  bar->setValue(10);  // the operator reads back
  QString top = edit.cursorForPosition(QPoint(2, 2)).block().text();
  text = text.substr(text.find('\n') + 1) + "line 102\r\n";
  edit.setBytes(text);
  EXPECT_EQ(edit.cursorForPosition(QPoint(2, 2)).block().text(), top);
}

}  // namespace
