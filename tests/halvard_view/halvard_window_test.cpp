#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <string>

#include "common/qt/status_bar_line.h"
#include "common/qt/template_page.h"
#include "common/status_line.h"

#include "fakes/fake_serial_port.h"
#include "fakes/qt_test_environment.h"
#include "fakes/recording_status_line.h"
#include "fakes/status_line_layout.h"
#include "fakes/temp_dir.h"
#include "fakes/virtual_clock.h"
#include "halvard/control_ids.h"
#include "halvard/fake_mail_transport.h"
#include "halvard/view/test_email_window.h"
#include "halvard/view/halvard_template.h"
#include "halvard/view/halvard_window.h"

namespace {

using namespace halvard_ids;

// The real Halvard window over a fake bench and a virtual clock in a fresh working
// directory that holds the two folders of a normal installation.
class HalvardWindowTest : public ::testing::Test {
 protected:
  HalvardWindowTest() : bench(clock), mainPort(bench), secondPort(bench) {
    dir.makeDir("program");
    dir.makeDir("programEmail");
  }

  void start(std::unique_ptr<MailTransport> transport = nullptr) {
    window = std::make_unique<HalvardWindow>(mainPort, secondPort, clock, status, dir.path(), std::move(transport));
    timerWasActive = window->pollTimer().isActive();
    window->pollTimer().stop();
  }
  QLineEdit* edit(int id) { return qobject_cast<QLineEdit*>(window->control(id)); }

  TempDir dir;
  VirtualClock clock;
  FakeSerialBench bench;
  FakeSerialPort mainPort;
  FakeSerialPort secondPort;
  StatusFanOut status;
  std::unique_ptr<HalvardWindow> window;
  bool timerWasActive = false;
};

TEST_F(HalvardWindowTest, HasItsCaptionSizeAndTwentySevenControls) {
  start();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("HalvardZm40.exe  6-11-22"));
  EXPECT_EQ(window->page().size(), window->units().toPixels(0, 0, 674, 282).size());
  // The template and its status line, and between them the row of the test e-mail.
  QWidget* row = window->findChild<QWidget*>(QStringLiteral("testEmailRow"));
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(window->size(), window->naturalSize() + QSize(0, row->sizeHint().height()));
  EXPECT_TRUE(timerWasActive);
  EXPECT_EQ(window->pollTimer().interval(), 100);

  QRegularExpression controlName(QStringLiteral("^(control\\d+|label_\\d+_\\d+|group_\\d+_\\d+)$"));
  int controls = 0;
  for (QWidget* child : window->page().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (controlName.match(child->objectName()).hasMatch()) ++controls;
  EXPECT_EQ(controls, 27);

  for (int id : {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1013, 1014})
    EXPECT_NE(edit(id), nullptr) << id;
  EXPECT_EQ(window->text(kAutoDetect), "AUTO COMMPORT DETECTION");
  EXPECT_EQ(window->text(kEnableEmail), "ENABLE EMAIL");
  EXPECT_EQ(window->text(kMainCommportGroup), "MAIN COMMPORT");
  EXPECT_EQ(window->findChild<QLabel*>("label_10_110")->text(), QStringLiteral("SENDER "));
  EXPECT_EQ(edit(kSender)->accessibleName(), QStringLiteral("SENDER "));
  EXPECT_EQ(window->findChild<QLabel*>("label_269_116")->text(),
            QStringLiteral("WAVEFILE PLAYING LENGTH IN SECOND"));
}

TEST_F(HalvardWindowTest, ControlsKeepTheirRectanglesAndOverlapsOfTheTemplateOnly) {
  start();
  DialogTemplate dialog = halvardTemplate();
  for (std::size_t a = 0; a < dialog.controls.size(); ++a) {
    const ControlSpec& p = dialog.controls[a];
    QRect shownP = window->units().toPixels(p.x, p.y, p.width, p.height);
    EXPECT_TRUE(window->page().rect().contains(shownP)) << p.caption;
    for (std::size_t b = a + 1; b < dialog.controls.size(); ++b) {
      const ControlSpec& q = dialog.controls[b];
      QRect shownQ = window->units().toPixels(q.x, q.y, q.width, q.height);
      bool overlapInUnits =
          QRect(p.x, p.y, p.width, p.height).intersects(QRect(q.x, q.y, q.width, q.height));
      EXPECT_EQ(shownP.intersects(shownQ), overlapInUnits) << p.caption << " / " << q.caption;
    }
  }
}

TEST_F(HalvardWindowTest, TypingMarksTheFieldAndTheNextTickSavesIt) {
  start();
  QTest::keyClicks(edit(kSubject), "Fir");
  EXPECT_FALSE(dir.exists("programEmail/subject.txt"));
  window->logic().onTimer();
  EXPECT_EQ(dir.read("programEmail/subject.txt"), "Fir");
}

TEST_F(HalvardWindowTest, ControlBytesOfAFileSurviveTheEditAndTheStore) {
  dir.write("programEmail/sender.txt", "Alarm\r\n");
  start();
  EXPECT_EQ(window->text(kSender), "Alarm\r\n");
  window->open();
  QTest::keyClick(edit(kUserName), Qt::Key_Return);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->logic().sender, "Alarm\r\n");
}

TEST_F(HalvardWindowTest, EmailSwitchShowsWhatTheHandlerDecides) {
  dir.write("programEmail/programflag.txt", "E");
  start();
  auto* enable = qobject_cast<QRadioButton*>(window->control(kEnableEmail));
  EXPECT_TRUE(enable->isChecked());
  QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(4, enable->height() / 2));
  EXPECT_EQ(dir.read("programEmail/programflag.txt"), "D");
  EXPECT_FALSE(enable->isChecked());
  QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(4, enable->height() / 2));
  EXPECT_EQ(dir.read("programEmail/programflag.txt"), "E");
  EXPECT_TRUE(enable->isChecked());
}

TEST_F(HalvardWindowTest, DestroyingTheWindowClosesTheMainPortOnly) {
  bench.addDevice("COM3:");
  bench.addDevice("COM2:");
  dir.write("program/commport", "COM3:");
  dir.write("commport2", "COM2:");
  start();
  EXPECT_TRUE(bench.isHeld("COM3:"));
  window.reset();
  EXPECT_FALSE(bench.isHeld("COM3:"));
  EXPECT_TRUE(bench.isHeld("COM2:"));
}

TEST_F(HalvardWindowTest, StatusLineShowsAMessageBelowEveryControl) {
  start();
  expectStatusLineBelowEveryControl(*window);
}

TEST_F(HalvardWindowTest, PasswordIsMaskedAndSavedAsTyped) {
  start();
  QLineEdit* password = edit(kPassword);
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  QAccessibleInterface* field = QAccessible::queryAccessibleInterface(password);
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->state().passwordEdit);

  QTest::keyClicks(password, "pw");
  EXPECT_NE(field->text(QAccessible::Value), QStringLiteral("pw"));  // never read out
  window->logic().onTimer();
  EXPECT_EQ(dir.read("programEmail/password.txt"), "pw");
}

TEST_F(HalvardWindowTest, EveryMessageReachesTheWindowLineAndTheOthers) {
  RecordingStatusLine other;  // stands for stderr
  status.add(&other);
  dir.write("program/commport", "COM3:");
  bench.addDevice("COM3:");
  bench.refuseBusy("COM3:", 4321);
  start();
  const std::string told = "main port COM3: the device is held by another program (process 4321)";
  EXPECT_EQ(window->statusBar().message().toStdString(), told);
  EXPECT_EQ(other.messages, std::vector<std::string>{told});
  window.reset();  // takes its own line out of the fan-out
  status.remove(&other);
}

}  // namespace

namespace {

TEST_F(HalvardWindowTest, TestEmailButtonAndKeySendBesideTheWindowAndShowTheStages) {
  auto owned = std::make_unique<FakeMailTransport>();
  FakeMailTransport& transport = *owned;
  start(std::move(owned));
  showActive(*window);
  QPushButton& button = window->testEmailButton();
  EXPECT_EQ(button.objectName(), QStringLiteral("control1020"));
  EXPECT_EQ(button.accessibleName(), QStringLiteral("Send a test e-mail"));
  // Under the template's page, the template's controls untouched.
  EXPECT_GE(button.mapTo(window.get(), QPoint(0, 0)).y(), window->scrollArea().geometry().bottom());

  window->setText(kServerName, "mail.example.com:587");
  window->setText(kFromAddress, "panel@example.com");
  window->setText(kToAddress, "ops@example.com");
  QTest::mouseClick(&button, Qt::LeftButton);
  window->testEmail().join();
  QCoreApplication::processEvents();  // the test's thread reports through queued calls
  TestEmailWindow& result = window->testEmailWindow();
  EXPECT_TRUE(result.isVisible());
  EXPECT_TRUE(result.verdictText().startsWith(QStringLiteral("Test e-mail accepted by mail.example.com:587")))
      << result.verdictText().toStdString();
  EXPECT_TRUE(result.stagesText().contains(QStringLiteral("Recipient: <ops@example.com> accepted: 250 ok")))
      << result.stagesText().toStdString();
  EXPECT_FALSE(result.cancelButton().isEnabled());
  EXPECT_EQ(window->statusBar().message(), result.verdictText());

  showActive(*window);  // the result window took the focus; the key works in Halvard's
  QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
  window->testEmail().join();
  QCoreApplication::processEvents();
  EXPECT_EQ(transport.jobs.size(), 2u);
}

}  // namespace
