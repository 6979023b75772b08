#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "common/qt/about_dialog.h"
#include "common/qt/status_bar_line.h"
#include "common/qt/template_dialog.h"
#include "common/qt/template_page.h"
#include "fakes/qt_test_environment.h"

namespace {

constexpr int kEdit = 10;
constexpr int kDisplay = 11;
constexpr int kButton = 12;
constexpr int kRadio = 13;
constexpr int kPlainRadio = 14;

DialogTemplate testTemplate() {
  return DialogTemplate{
      "Bench  test",
      300,
      200,
      "Tester",
      {
          {kEdit, ControlKind::kEdit, 10, 10, 60, 12, "", false, "number"},
          {ControlSpec::kNoId, ControlKind::kLabel, 80, 10, 40, 10, "number"},
          {kDisplay, ControlKind::kMultiLineEdit, 130, 10, 160, 60, "", false, "received"},
          {kButton, ControlKind::kPushButton, 10, 30, 60, 20, "go after the update above", true},
          {kRadio, ControlKind::kRadioButton, 10, 60, 80, 30, "a long caption that wraps twice", true},
          {kPlainRadio, ControlKind::kRadioButton, 10, 95, 60, 10, "plain"},
          {ControlSpec::kNoId, ControlKind::kGroupBox, 5, 55, 100, 55, "options"},
      }};
}

// The shell on its own, with handlers that record what reached them.
class TemplateDialogTest : public ::testing::Test {
 protected:
  TemplateDialogTest() : dialog(testTemplate()) {
    dialog.setHandlers(TemplateDialog::Handlers{
        [this](int id) { edits.push_back(id); },
        [this](int id) {
          clicks.push_back(id);
          auto* button = qobject_cast<QAbstractButton*>(dialog.control(id));
          checkedInHandler.push_back(button->isChecked());
        },
        [this] {
          ++okCalls;
          return okResult;
        },
        [this] { ++ticks; },
    });
  }

  QLineEdit* edit() { return qobject_cast<QLineEdit*>(dialog.control(kEdit)); }
  QPlainTextEdit* display() { return qobject_cast<QPlainTextEdit*>(dialog.control(kDisplay)); }
  QRadioButton* radio(int id) { return qobject_cast<QRadioButton*>(dialog.control(id)); }

  TemplateDialog dialog;
  std::vector<int> edits;
  std::vector<int> clicks;
  std::vector<bool> checkedInHandler;
  int okCalls = 0;
  bool okResult = true;
  int ticks = 0;
};

TEST(DialogUnitsTest, ConvertsEachEdgeSoNeighboursNeverOverlap) {
  DialogUnits units(6, 13);  // the original 8-point dialog font
  EXPECT_EQ(units.toPixels(413, 22, 390, 328), QRect(620, 36, 585, 533));
  QRect left = units.toPixels(0, 0, 3, 3);
  QRect right = units.toPixels(3, 0, 3, 3);
  EXPECT_EQ(left.right() + 1, right.left());
  EXPECT_FALSE(left.intersects(right));
}

// A screen smaller than the layout gets it drawn smaller in proportion, but no smaller
// than the smallest screen it is meant to fit; below that it scrolls.
TEST(DialogUnitsTest, FitScaleShrinksInProportionDownToTheSmallestScreen) {
  const QSize natural(1430, 700);
  const QSize smallest(1272, 620);
  EXPECT_EQ(DialogUnits::fitScale(natural, QSize(1600, 1000), smallest), 1.0);
  EXPECT_DOUBLE_EQ(DialogUnits::fitScale(natural, QSize(1358, 690), smallest), 1358.0 / 1430);
  EXPECT_DOUBLE_EQ(DialogUnits::fitScale(natural, QSize(1400, 630), smallest), 630.0 / 700);
  EXPECT_DOUBLE_EQ(DialogUnits::fitScale(natural, QSize(1000, 500), smallest), 620.0 / 700);
  EXPECT_EQ(DialogUnits::fitScale(QSize(600, 400), QSize(300, 200), smallest), 1.0);

  const DialogUnits units = DialogUnits(7, 13).scaled(0.9);
  EXPECT_EQ(units.toPixels(0, 0, 817, 418).size(), QSize(1287, 611));
  EXPECT_EQ(units.toPixels(0, 0, 3, 3).right() + 1, units.toPixels(3, 0, 3, 3).left());
}

TEST_F(TemplateDialogTest, ASmallerLayoutKeepsItsProportionsAndItsCaptionsFit) {
  const QRect display = dialog.control(kDisplay)->geometry();
  const QFont before = dialog.page().font();
  dialog.layOut(0.9);
  EXPECT_EQ(dialog.control(kDisplay)->geometry(), dialog.units().toPixels(130, 10, 160, 60));
  EXPECT_NEAR(dialog.control(kDisplay)->width(), display.width() * 0.9, 1.0);
  EXPECT_EQ(dialog.page().templateSize(), dialog.units().toPixels(0, 0, 300, 200).size());
  EXPECT_EQ(dialog.size(), dialog.naturalSize());
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const QFontMetricsF was(before);
  const QFontMetricsF now(dialog.page().font());
  EXPECT_LE(now.horizontalAdvance(letters), was.horizontalAdvance(letters) * 0.9);
  EXPECT_LE(now.height(), was.height() * 0.9 + 0.5);
  dialog.layOut(1.0);
  EXPECT_EQ(dialog.control(kDisplay)->geometry(), display);
}

TEST_F(TemplateDialogTest, TheWorkingFolderEndsTheStatusLineAndIsInTheAboutBox) {
  const QString folder = QStringLiteral("/home/op/.local/share/zm40");
  dialog.setWorkingFolder(folder);
  dialog.show();
  dialog.statusLine().show("COM3: opened /dev/ttyUSB0");
  auto* shown = dialog.findChild<QLabel*>("workingFolder");
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->text(), QStringLiteral("folder ") + folder);
  EXPECT_GE(shown->x(), dialog.statusBar().geometry().right());
  EXPECT_EQ(shown->y(), dialog.statusBar().y());

  AboutDialog about(QStringLiteral("Tester"), &dialog, folder);
  EXPECT_EQ(about.findChild<QLabel*>("aboutFolder")->text(), QStringLiteral("Working folder: ") + folder);
}

TEST_F(TemplateDialogTest, NamesEveryControlForTestsAndAssistiveTechnology) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Bench  test"));
  EXPECT_EQ(dialog.findChild<QLineEdit*>("control10"), edit());
  EXPECT_EQ(edit()->accessibleName(), QStringLiteral("number"));
  EXPECT_EQ(dialog.control(kButton)->accessibleName(), QStringLiteral("go after the update above"));
  auto* label = dialog.findChild<QLabel*>("label_80_10");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("number"));
  EXPECT_NE(dialog.findChild<QWidget*>("group_5_55"), nullptr);
  EXPECT_EQ(dialog.text(kButton), "go after the update above");
}

TEST_F(TemplateDialogTest, PageKeepsTheTemplatesSizeAndGroupBoxesNeverTakeClicks) {
  const DialogUnits& units = dialog.units();
  QSize templateSize = units.toPixels(0, 0, 300, 200).size();
  EXPECT_EQ(dialog.page().size(), templateSize);
  EXPECT_EQ(dialog.page().minimumSize(), templateSize);
  // No growing control: the window grows no larger than the template and its status line.
  EXPECT_EQ(dialog.size(), dialog.naturalSize());
  EXPECT_EQ(dialog.maximumSize(), dialog.naturalSize());
  // The group box is behind the radio buttons it frames, so it never takes their clicks.
  QWidget* group = dialog.findChild<QWidget*>("group_5_55");
  EXPECT_EQ(dialog.page().childAt(units.toPixels(12, 96, 1, 1).topLeft()), radio(kPlainRadio));
  EXPECT_TRUE(group->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(TemplateDialogTest, EditsReportOnlyTheOperatorsOwnChanges) {
  QTest::keyClicks(edit(), "12");
  EXPECT_EQ(edits, (std::vector<int>{kEdit, kEdit}));
  dialog.setText(kEdit, "345");
  dialog.setText(kDisplay, "line\r\n");
  EXPECT_EQ(edits.size(), 2u);
  EXPECT_EQ(dialog.text(kEdit), "345");

  display()->setFocus();
  QTest::keyClicks(display(), "x");
  EXPECT_EQ(edits.back(), kDisplay);
}

TEST_F(TemplateDialogTest, SettingTheSameTextKeepsTheOperatorsSelection) {
  dialog.setText(kEdit, "0A");
  edit()->setSelection(0, 1);
  dialog.setText(kEdit, "0A");
  EXPECT_EQ(edit()->selectedText(), QStringLiteral("0"));
  dialog.setText(kEdit, "0B");
  EXPECT_FALSE(edit()->hasSelectedText());
}

TEST_F(TemplateDialogTest, ARefreshOfTheTextLimitKeepsTheOperatorsSelection) {
  dialog.setTextLimit(kEdit, 2);
  dialog.setText(kEdit, "0A");
  edit()->selectAll();
  // Every load direction sets the limit again.
  dialog.setTextLimit(kEdit, 2);
  dialog.setText(kEdit, "0A");
  EXPECT_EQ(edit()->selectedText(), QStringLiteral("0A"));
  QTest::keyClicks(edit(), "2");
  EXPECT_EQ(edit()->text(), QStringLiteral("2"));
}

TEST_F(TemplateDialogTest, EditTextCrossesAsLatin1BothWaysWithControlBytesShown) {
  dialog.setText(kEdit, "caf\xe9 Alarm\r\n\xff");
  EXPECT_EQ(edit()->text(), QStringLiteral(u"café Alarm\u240d\u240aÿ"));
  EXPECT_EQ(dialog.text(kEdit), "caf\xe9 Alarm\r\n\xff");
  edit()->setText(QStringLiteral(u"5 €"));
  EXPECT_EQ(dialog.text(kEdit), "5 ?");
  // A NUL is a byte like any other: shown as its picture, read back as itself.
  dialog.setText(kEdit, std::string("\0A\t", 3));
  EXPECT_EQ(edit()->text(), QStringLiteral(u"\u2400A\t"));
  EXPECT_EQ(dialog.text(kEdit), std::string("\0A\t", 3));
}

TEST_F(TemplateDialogTest, RadioButtonIsCheckedBeforeItsHandlerAndNeverTogglesOff) {
  QTest::mouseClick(radio(kPlainRadio), Qt::LeftButton, {}, QPoint(4, 4));
  QTest::mouseClick(radio(kPlainRadio), Qt::LeftButton, {}, QPoint(4, 4));
  EXPECT_EQ(clicks, (std::vector<int>{kPlainRadio, kPlainRadio}));
  EXPECT_EQ(checkedInHandler, (std::vector<bool>{true, true}));
  EXPECT_TRUE(dialog.checked(kPlainRadio));

  dialog.setChecked(kPlainRadio, false);  // only the program clears it, silently
  EXPECT_FALSE(dialog.checked(kPlainRadio));
  EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(TemplateDialogTest, WrappedRadioCaptionTakesClicksAndStaysInsideTheControl) {
  QRadioButton* button = radio(kRadio);
  EXPECT_TRUE(button->text().isEmpty() == false);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() - 3, button->height() / 2));
  EXPECT_TRUE(dialog.checked(kRadio));
  auto* caption = button->findChild<QLabel*>();
  ASSERT_NE(caption, nullptr);
  EXPECT_TRUE(caption->wordWrap());
  EXPECT_TRUE(button->rect().contains(caption->geometry()));
}

TEST_F(TemplateDialogTest, NoPushButtonIsDefaultSoEnterRunsOk) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    EXPECT_FALSE(button->isDefault());
    EXPECT_FALSE(button->autoDefault());
  }
  dialog.open();
  dialog.control(kButton)->setFocus();
  okResult = false;
  QTest::keyClick(dialog.control(kButton), Qt::Key_Return);
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(okCalls, 1);
  EXPECT_TRUE(dialog.isVisible());
  QTest::mouseClick(dialog.control(kButton), Qt::LeftButton);
  EXPECT_EQ(clicks, std::vector<int>{kButton});
}

TEST_F(TemplateDialogTest, EnterClosesOnlyWhenOkSucceeds) {
  dialog.open();
  dialog.startPollTimer(100);
  QTest::keyClick(edit(), Qt::Key_Return);
  EXPECT_EQ(okCalls, 1);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.pollTimer().isActive());
}

TEST_F(TemplateDialogTest, EnterInTheMultiLineEditIsTheDialogsToo) {
  dialog.open();
  display()->setFocus();
  QTest::keyClick(display(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(okCalls, 1);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TemplateDialogTest, EscapeAndCloseBoxCloseWithoutOk) {
  dialog.open();
  QTest::keyClick(edit(), Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  dialog.open();
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(okCalls, 0);
}

TEST_F(TemplateDialogTest, PollTimerCallsTheTickHandler) {
  dialog.startPollTimer(100);
  EXPECT_EQ(dialog.pollTimer().interval(), 100);
  EXPECT_TRUE(dialog.pollTimer().isActive());
  // A coarse timer may fire up to 5% early.
  EXPECT_EQ(dialog.pollTimer().timerType(), Qt::PreciseTimer);
  QMetaObject::invokeMethod(&dialog.pollTimer(), "timeout");
  EXPECT_EQ(ticks, 1);
}

TEST_F(TemplateDialogTest, FocusOnAnEditSelectsItsText) {
  dialog.show();
  dialog.setText(kEdit, "ABC");
  dialog.setFocus(kEdit);
  EXPECT_EQ(edit()->selectedText(), QStringLiteral("ABC"));
}

TEST_F(TemplateDialogTest, StatusLineSitsBelowTheControlsAndShowsTheNewestMessage) {
  dialog.show();
  auto* status = dialog.findChild<QLabel*>("status");
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->accessibleName(), QStringLiteral("status"));
  EXPECT_TRUE(status->textInteractionFlags() & Qt::TextSelectableByMouse);
  dialog.statusLine().show("COM3: opened /dev/ttyUSB0");
  EXPECT_EQ(status->text(), QStringLiteral("COM3: opened /dev/ttyUSB0"));
  dialog.statusLine().show("COM3: no such device");
  EXPECT_EQ(status->text(), QStringLiteral("COM3: no such device"));

  QRect line(status->mapTo(&dialog, QPoint(0, 0)), status->size());
  EXPECT_GT(line.height(), 0);
  for (QWidget* control : dialog.page().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    QRect shown(control->mapTo(&dialog, QPoint(0, 0)), control->size());
    EXPECT_FALSE(shown.intersects(line)) << control->objectName().toStdString();
  }
}

TEST_F(TemplateDialogTest, ALongStatusMessageIsElidedWithTheWholeOfItInTheTooltip) {
  dialog.show();
  std::string message = "COM3: cannot open";
  for (int i = 0; i < 40; ++i) message += " /dev/serial/by-id/usb-FTDI";
  dialog.statusLine().show(message);
  auto* status = dialog.findChild<QLabel*>("status");
  EXPECT_EQ(status->toolTip(), QString::fromStdString(message));
  EXPECT_TRUE(status->text().endsWith(QChar(0x2026)));
  EXPECT_LE(status->fontMetrics().horizontalAdvance(status->text()), status->width());
}

// A dialog larger than the screen, with a display that takes any room beyond it.
DialogTemplate wideTemplate() {
  DialogTemplate dialog{"Wide", 900, 500, "Tester", {}, kDisplay};
  dialog.controls = {
      {kEdit, ControlKind::kEdit, 10, 480, 60, 12, "", false, "number"},
      {kDisplay, ControlKind::kMultiLineEdit, 400, 10, 490, 460, "", false, "received"},
  };
  return dialog;
}

TEST(TemplateDialogScreenTest, ASmallScreenScrollsTheControlsAndMoreRoomGoesToTheDisplay) {
  TemplateDialog dialog(wideTemplate());
  QRect room = dialog.screen()->availableGeometry();
  ASSERT_GT(dialog.naturalSize().width(), room.width());
  dialog.show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(room.contains(dialog.frameGeometry()));
  // Drawn as small as for the smallest screen it is meant to fit, and no smaller.
  EXPECT_LT(dialog.units().scale(), 1.0);
  EXPECT_GT(dialog.page().width(), room.width());
  // Every control can still be reached: the page keeps the template's size and scrolls.
  QScrollArea& area = dialog.scrollArea();
  EXPECT_EQ(dialog.page().size(), dialog.page().templateSize());
  QWidget* edit = dialog.control(kEdit);
  area.ensureWidgetVisible(edit);
  QRect inView(edit->mapTo(area.viewport(), QPoint(0, 0)), edit->size());
  EXPECT_TRUE(area.viewport()->rect().contains(inView));

  QRect display = dialog.control(kDisplay)->geometry();
  dialog.resize(dialog.naturalSize() + QSize(120, 80));
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.control(kDisplay)->geometry(), display.adjusted(0, 0, 120, 80));
  EXPECT_EQ(dialog.control(kEdit)->geometry(), dialog.units().toPixels(10, 480, 60, 12));
}

}  // namespace
