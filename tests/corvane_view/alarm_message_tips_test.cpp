#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextDocument>
#include <memory>
#include <string>

#include "common/qt/status_bar_line.h"
#include "corvane/control_ids.h"
#include "corvane_window_fixture.h"

namespace {

using namespace corvane_ids;

// The window with Contact-ID messages on file, as an installer opens it on the bench.
class AlarmMessageTipsTest : public CorvaneWindowFixture {
 protected:
  AlarmMessageTipsTest() {
    dir.write("protocol2", "0");
    dir.write("alarmmessage", "123418113101015");
    dir.write("alarmmessage3", "12341811310101");
    openWindow();
    beyond.messages.clear();  // what start-up said of the port
  }

  // The tooltip as the operator reads it.
  std::string tip(int id) {
    QTextDocument shown;
    shown.setHtml(edit(id)->toolTip());
    return shown.toPlainText().toStdString() + "\n";
  }
  std::string statusShown() { return window->statusBar().message().toStdString(); }
  void focus(int id, QEvent::Type type) {
    QFocusEvent event(type, Qt::TabFocusReason);
    QApplication::sendEvent(edit(id), &event);
  }
};

TEST_F(AlarmMessageTipsTest, AContactIdMessageExplainsItselfWhileTheOperatorWorksOnIt) {
  // The tooltip reads the message field by field, a line each.
  const std::string first = tip(kAlarmMessage1);
  for (const char* line : {"Contact-ID 123418113101015 + checksum 8", "account 1234",
                           "event qualifier 1: new event",
                           "event 131: Perimeter burglary (Burglary)", "zone 015",
                           "checksum digit 8, appended by the module"}) {
    EXPECT_NE(first.find(std::string(line) + "\n"), std::string::npos) << line << " in " << first;
  }
  EXPECT_NE(tip(kAlarmMessage3).find("only 14"), std::string::npos) << tip(kAlarmMessage3);
  // Messages 2 to 8 go only in a run: each tip says so, and an empty one ends the run.
  EXPECT_NE(tip(kAlarmMessage3).find("message 3 of a multiple run"), std::string::npos);
  EXPECT_EQ(tip(kAlarmMessage2).rfind("Message 2 ends the run: it is empty", 0), 0u) << tip(kAlarmMessage2);

  window->statusLine().show("COM1: opened /dev/ttyUSB0 at 9600 baud");
  focus(kAlarmMessage1, QEvent::FocusIn);
  EXPECT_EQ(statusShown(),
            "Contact-ID 1234: new event 131 Perimeter burglary, partition 01, zone 015, checksum 8");

  // A sixteenth character: both say at once that it will not be sent.
  QTest::keyClick(edit(kAlarmMessage1), Qt::Key_End);
  QTest::keyClicks(edit(kAlarmMessage1), "7");
  EXPECT_NE(statusShown().find("checksum 8: Contact-ID sends 15 characters"), std::string::npos)
      << statusShown();
  EXPECT_NE(tip(kAlarmMessage1).find("problem: Contact-ID sends 15 characters: the 1 character "
                                     "after them are not sent\n"),
            std::string::npos)
      << tip(kAlarmMessage1);

  // Another format reads every message anew.
  qobject_cast<QRadioButton*>(window->control(kPulse4x2))->click();
  EXPECT_EQ(statusShown().rfind("Pulse 4X2 account 1234, event 18", 0), 0u) << statusShown();
  EXPECT_EQ(tip(kAlarmMessage3).rfind("Pulse 4X2: the first 6 characters", 0), 0u)
      << tip(kAlarmMessage3);

  // Leaving the edit gives the line back to what it said before.
  focus(kAlarmMessage1, QEvent::FocusOut);
  EXPECT_EQ(statusShown(), "COM1: opened /dev/ttyUSB0 at 9600 baud");

  // A message that comes while the operator types stays until the edit is left.
  focus(kAlarmMessage3, QEvent::FocusIn);
  EXPECT_EQ(statusShown().rfind("Pulse 4X2", 0), 0u);
  window->statusLine().show("COM1: (/dev/ttyUSB0) went away");
  QTest::keyClicks(edit(kAlarmMessage3), "5");
  focus(kAlarmMessage3, QEvent::FocusOut);
  EXPECT_EQ(statusShown(), "COM1: (/dev/ttyUSB0) went away");
  EXPECT_TRUE(beyond.messages.empty());  // none of it went beyond the window
}

}  // namespace
