#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTextBlock>
#include <string>

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

}  // namespace
