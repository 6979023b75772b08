#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <string>
#include <tuple>

#include "common/qt/status_bar_line.h"
#include "common/qt/template_page.h"
#include "common/status_line.h"
#include "corvane/control_ids.h"
#include "corvane/view/corvane_template.h"
#include "corvane_window_fixture.h"
#include "fakes/qt_test_environment.h"
#include "fakes/status_line_layout.h"

namespace {

using namespace corvane_ids;

class CorvaneWindowTest : public CorvaneWindowFixture {
 protected:
  CorvaneWindowTest() { openWindow(); }

  QPlainTextEdit* display() { return qobject_cast<QPlainTextEdit*>(window->control(kReceived)); }
};

TEST_F(CorvaneWindowTest, HasItsCaptionSizeAndStartsThePollTimerLast) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("ZM40/ZM42 DEMO1  V4.9 9600 or 115200 baud"));
  EXPECT_EQ(window->page().size(), window->units().toPixels(0, 0, 817, 418).size());
  EXPECT_EQ(window->size(), window->naturalSize());
  EXPECT_TRUE(timerWasActive);
  EXPECT_EQ(window->pollTimer().interval(), 100);
  // Start-up ran before the window shows: its timing line is in the display already.
  EXPECT_NE(window->text(kReceived).find("\r\n"), std::string::npos);
}

TEST_F(CorvaneWindowTest, EveryControlIsThereWithItsCaption) {
  const int ids[] = {1000, 1001, 1002, 1003, 1005, 1006, 1010, 1011, 1012, 1013, 1014, 1015,
                     1016, 1017, 1018, 1019, 1020, 1021, 1022, 1027, 1028, 1029, 1030, 1031,
                     1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041};
  for (int id : ids) {
    QWidget* control = window->findChild<QWidget*>(QStringLiteral("control%1").arg(id));
    ASSERT_NE(control, nullptr) << id;
    EXPECT_FALSE(control->accessibleName().isEmpty()) << id;
  }
  EXPECT_EQ(window->text(kMultipleRun),
            "go for multiple alarm messages by alarmmessage files. It requies the above updating "
            "file operation before starting. Click the above abort at the end.");
  EXPECT_EQ(window->text(kPulse4x2),
            "Pulse 4X2 mode-transmit first six characers of the alarm message");
  EXPECT_EQ(window->text(kFskF1),
            "SIA-FORMAT FSK F1 mode, enter hexadecimal numberfs-do not enter checksum");
  EXPECT_EQ(window->text(kTone1400),
            "1400 (on) or 2300Hz (off)  tones for Handshake and Kiss-Off tone selection for FSK "
            "F2 (for ZM42)");
  auto* commortLabel = window->findChild<QLabel*>("label_15_190");
  ASSERT_NE(commortLabel, nullptr);
  EXPECT_EQ(commortLabel->text(),
            QStringLiteral("Multiple digit commort must be converted to single digit number "
                           "using device manager."));
  EXPECT_EQ(edit(kTelephoneNumber)->accessibleName(), QStringLiteral("telephone number"));
}

TEST_F(CorvaneWindowTest, ControlsKeepTheirRectanglesAndOverlapsOfTheTemplateOnly) {
  DialogTemplate dialog = corvaneTemplate();
  std::vector<QRect> shown;
  for (const ControlSpec& entry : dialog.controls) {
    QRect expected = window->units().toPixels(entry.x, entry.y, entry.width, entry.height);
    QWidget* control = entry.id != ControlSpec::kNoId ? window->control(entry.id) : nullptr;
    if (control != nullptr) {
      EXPECT_EQ(control->geometry(), expected) << entry.id;
    }
    EXPECT_TRUE(window->page().rect().contains(expected)) << entry.caption;
    shown.push_back(expected);
  }
  for (std::size_t a = 0; a < shown.size(); ++a) {
    for (std::size_t b = a + 1; b < shown.size(); ++b) {
      const ControlSpec& p = dialog.controls[a];
      const ControlSpec& q = dialog.controls[b];
      bool overlapInUnits =
          QRect(p.x, p.y, p.width, p.height).intersects(QRect(q.x, q.y, q.width, q.height));
      EXPECT_EQ(shown[a].intersects(shown[b]), overlapInUnits) << p.caption << " / " << q.caption;
    }
  }
}

TEST_F(CorvaneWindowTest, TypingTheTelephoneNumberRewritesItsFileAtEachKeystroke) {
  QLineEdit* number = edit(kTelephoneNumber);
  QTest::keyClick(number, '5');
  EXPECT_EQ(dir.read("telephonenumber"), "5");
  QTest::keyClick(number, '5');
  EXPECT_EQ(dir.read("telephonenumber"), "55");
  QTest::keyClick(number, Qt::Key_Backspace);
  EXPECT_EQ(dir.read("telephonenumber"), "5");
}

TEST_F(CorvaneWindowTest, ALoadShowsTheFieldsAndRunsNoHandler) {
  window->logic().telephoneNumber = "5551234";
  window->logic().commportText = "COM3:";
  window->logic().loadControls();
  EXPECT_EQ(edit(kTelephoneNumber)->text(), QStringLiteral("5551234"));
  EXPECT_FALSE(dir.exists("telephonenumber"));
  EXPECT_EQ(window->logic().flags.commportChanged, 0);
}

// Enter stores the fields and closes; Escape closes without storing them.
TEST_F(CorvaneWindowTest, EnterStoresTheFieldsAndClosesEscapeOnlyCloses) {
  for (auto [key, stored, result] : {std::tuple{Qt::Key_Return, "4142", QDialog::Accepted},
                                     std::tuple{Qt::Key_Escape, "", QDialog::Rejected}}) {
    SCOPED_TRACE(key);
    window->logic().hexMessage.clear();
    window->open();
    edit(kHexMessage)->setText(QStringLiteral("4142"));
    QTest::keyClick(edit(kTelephoneNumber), key);
    EXPECT_EQ(window->logic().hexMessage, stored);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), result);
  }
}

TEST_F(CorvaneWindowTest, EnterInKbdataInTerminalModeKeepsTheWindowOpen) {
  int enters = 0;
  window->kbdataEnter = [&enters] { ++enters; };
  window->open();
  QTest::keyClick(edit(kKbdata), Qt::Key_Return);  // terminal mode off: Enter closes
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(enters, 0);

  window->open();
  auto* enable = qobject_cast<QRadioButton*>(window->control(kTerminalEnable));
  QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(4, enable->height() / 2));
  ASSERT_EQ(window->logic().terminalSelected, 0);
  edit(kKbdata)->setFocus();
  QTest::keyClick(edit(kKbdata), Qt::Key_Return);
  QTest::keyClick(edit(kKbdata), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(enters, 2);

  // Elsewhere Enter still stores and closes, and Escape closes from kbdata too.
  QTest::keyClick(edit(kTelephoneNumber), Qt::Key_Return);
  EXPECT_FALSE(window->isVisible());
  window->open();
  QTest::keyClick(edit(kKbdata), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->result(), QDialog::Rejected);
}

TEST_F(CorvaneWindowTest, KissoffTimeTakesNoThirdCharacterTypedOrPasted) {
  QLineEdit* kissoff = edit(kKissoffTime);
  QTest::keyClicks(kissoff, "0A7");
  EXPECT_EQ(kissoff->text(), QStringLiteral("0A"));
  kissoff->clear();
  QApplication::clipboard()->setText(QStringLiteral("123"));
  kissoff->paste();
  EXPECT_EQ(kissoff->text(), QStringLiteral("12"));
}

TEST_F(CorvaneWindowTest, ATickLeavesTheOperatorsSelectionInTheKissoffTime) {
  showActive(*window);
  QLineEdit* kissoff = edit(kKissoffTime);
  kissoff->setFocus();
  QTest::keyClicks(kissoff, "0A");
  kissoff->selectAll();
  window->logic().loadControls();  // what every tick ends with
  EXPECT_EQ(kissoff->selectedText(), QStringLiteral("0A"));
  QTest::keyClicks(kissoff, "2");
  EXPECT_EQ(window->logic().kissoffTimeText, "2");
  kissoff->selectAll();
  window->logic().loadControls();
  QTest::keyClick(kissoff, Qt::Key_Backspace);
  EXPECT_EQ(kissoff->text(), QString());
}

TEST_F(CorvaneWindowTest, HexToAsciiShowsALeadingZeroAsItsPicture) {
  QTest::keyClicks(edit(kHexMessage), "0041");
  QTest::mouseClick(window->control(kHexToAscii), Qt::LeftButton);
  EXPECT_EQ(edit(kAsciiMessage)->text(), QStringLiteral(u"\u2400A"));
  EXPECT_EQ(window->logic().asciiMessage, std::string("\0A", 2));
}

TEST_F(CorvaneWindowTest, AFailedStoreKeepsTheWindowOpenWithTheMessage) {
  // Text put there behind the limit's back, as a longer value from the module could be.
  edit(kKissoffTime)->setMaxLength(10);
  edit(kKissoffTime)->setText(QStringLiteral("ABC"));
  window->open();
  QString message;
  whenModalOpens([&message](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    message = box->text();
    box->accept();
  });
  QTest::keyClick(edit(kTelephoneNumber), Qt::Key_Return);
  EXPECT_EQ(message, QStringLiteral("Please enter no more than 2 characters."));
  EXPECT_TRUE(window->isVisible());
  window->reject();
}

TEST_F(CorvaneWindowTest, ClickingASelectedRadioButtonLeavesItSelected) {
  auto* enable = qobject_cast<QRadioButton*>(window->control(kTerminalEnable));
  QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(4, enable->height() / 2));
  EXPECT_TRUE(enable->isChecked());
  EXPECT_EQ(window->logic().terminalSelected, 0);
  QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(4, enable->height() / 2));
  EXPECT_TRUE(enable->isChecked());
  EXPECT_EQ(window->logic().terminalSelected, 0);
}

TEST_F(CorvaneWindowTest, DisplayKeepsItsNewestLineInViewAndIsLeftAloneWhenUnchanged) {
  window->show();
  std::string text;
  for (int i = 0; i < 60; ++i) text += "MESSAGE SUCCESS " + std::to_string(i) + "\r\n";
  window->logic().display.receivedText = text;
  window->logic().loadControls();
  QScrollBar* bar = display()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(window->text(kReceived), text);

  bar->setValue(0);  // the operator scrolls back to read
  window->logic().loadControls();
  EXPECT_EQ(bar->value(), 0);
}

TEST_F(CorvaneWindowTest, AboutBoxOpensFromF1) {
  showActive(*window);
  QString title;
  QString version;
  whenModalOpens([&](QWidget* modal) {
    ASSERT_NE(modal, nullptr);
    title = modal->windowTitle();
    version = modal->findChild<QLabel*>("aboutVersion")->text();
    auto* ok = modal->findChild<QPushButton*>("control1");
    EXPECT_TRUE(ok->isDefault());
    ok->click();
  });
  QTest::keyClick(edit(kTelephoneNumber), Qt::Key_F1);
  EXPECT_EQ(title, QStringLiteral("About Corvane"));
  EXPECT_EQ(version, QStringLiteral("Corvane Version 1.0"));
  EXPECT_TRUE(window->isVisible());
  // The same entry is the dialog's context menu.
  EXPECT_EQ(window->contextMenuPolicy(), Qt::ActionsContextMenu);
  EXPECT_EQ(window->actions().value(0)->text(), QStringLiteral("&About Corvane..."));
}

TEST_F(CorvaneWindowTest, StatusLineShowsAMessageBelowEveryControl) {
  expectStatusLineBelowEveryControl(*window);
}

// The window's own line and stderr get the same messages, from the start-up on; once
// the window is gone, the messages still reach stderr.
TEST_F(CorvaneWindowTest, StartUpMessageReachesTheWindowsLineAndStderr) {
  // No ./commport: the start-up had no port to open.
  ASSERT_EQ(beyond.messages.size(), 1u);
  EXPECT_EQ(beyond.last(), "no port is named: type one such as COM1: or /dev/ttyUSB0");
  EXPECT_EQ(window->statusBar().message().toStdString(), beyond.last());
  // The window's texts are as they were: no word of it in the display.
  EXPECT_EQ(display()->toPlainText().toStdString().find("port"), std::string::npos);

  window.reset();
  status.show("after the window");
  EXPECT_EQ(beyond.last(), "after the window");
}

}  // namespace
