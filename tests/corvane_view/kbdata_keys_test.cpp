#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "corvane/control_ids.h"
#include "corvane_window_fixture.h"
#include "fakes/qt_test_environment.h"

namespace {

using namespace corvane_ids;
using Strings = std::vector<std::string>;

// The window with a module on COM1: of the bench, the port open on it.
class KbdataKeysTest : public CorvaneWindowFixture {
 protected:
  static constexpr const char* kModule = "COM1:";

  KbdataKeysTest() {
    openWindow();
    bench.addDevice(kModule);
    port.open(kModule, 9600);
    bench.clearEvents();
  }

  QLineEdit* kbdata() { return edit(kKbdata); }
  void enableTerminal() {
    auto* enable = qobject_cast<QRadioButton*>(window->control(kTerminalEnable));
    QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(4, enable->height() / 2));
    ASSERT_TRUE(enable->isChecked());
  }
  // The operator in terminal mode, the window active and the keys typed into kbdata.
  void typeInTerminal(const char* keys) {
    showActive(*window);
    enableTerminal();
    kbdata()->setFocus();
    QTest::keyClicks(kbdata(), keys);
  }
};

TEST_F(KbdataKeysTest, EnterInKbdataInTerminalModeSendsACrAndTheWindowStaysOpen) {
  typeInTerminal("AT");
  QTest::keyClick(kbdata(), Qt::Key_Return);
  EXPECT_EQ(kbdata()->text(), QStringLiteral(u"AT\u240D"));  // the CR waits, shown
  tick();
  EXPECT_EQ(kbdata()->text(), QStringLiteral(u"T\u240D"));

  QTest::keyClicks(kbdata(), "Z");  // typing goes on behind the waiting keys
  tick(4);
  EXPECT_EQ(bench.writes(), (Strings{"A", "T", "\r", "Z"}));
  EXPECT_EQ(kbdata()->text(), QString());
  EXPECT_TRUE(window->isVisible());
  window->reject();
}

TEST_F(KbdataKeysTest, KeysTypedBetweenTicksAllReachTheModule) {
  enableTerminal();
  QTest::keyClicks(kbdata(), "0123");
  tick();
  QTest::keyClicks(kbdata(), "456");
  tick();
  QTest::keyClicks(kbdata(), "789");
  EXPECT_EQ(kbdata()->text(), QStringLiteral("23456789"));
  tick(10);
  EXPECT_EQ(bench.written(kModule), "0123456789");
  EXPECT_EQ(kbdata()->text(), QString());
}

// The tick removes a sent key from the head of the field; the operator who went back
// to insert a key goes on inserting where the caret was, and a selection stays on
// the keys it covered.
TEST_F(KbdataKeysTest, ATickThatSendsAKeyLeavesTheCaretAndSelectionOnTheirKeys) {
  typeInTerminal("abc");
  QTest::keyClick(kbdata(), Qt::Key_Left);
  QTest::keyClick(kbdata(), Qt::Key_Left);  // between a and b
  tick();
  QTest::keyClicks(kbdata(), "X");
  EXPECT_EQ(kbdata()->text(), QStringLiteral("Xbc"));

  kbdata()->setSelection(1, 2);  // "bc"
  tick();
  EXPECT_EQ(kbdata()->selectedText(), QStringLiteral("bc"));
  QTest::keyClicks(kbdata(), "Q");  // typed over
  tick(3);
  EXPECT_EQ(bench.written(kModule), "aXQ");
  window->reject();
}

}  // namespace
