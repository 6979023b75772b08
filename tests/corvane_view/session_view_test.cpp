#include <QAction>
#include <QListWidget>
#include <fstream>
#include <sstream>

#include "corvane/logged_serial_port.h"
#include "corvane/session_log.h"
#include "corvane/view/session_view_window.h"
#include "corvane_window_fixture.h"

namespace {

class SessionViewTest : public CorvaneWindowFixture {
 protected:
  void openLoggedWindow() {
    log = std::make_unique<SessionLog>(dir.path(), [this] { return clock.nowMs(); }, status);
    logged = std::make_unique<LoggedSerialPort>(port, *log);
    window = std::make_unique<CorvaneWindow>(*logged, clock, beep, history, status, dir.path(),
                                             log.get());
    window->pollTimer().stop();
  }
  QStringList shown() const {
    QStringList lines;
    QListWidget* list = window->sessionView()->list();
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
  }

  std::unique_ptr<SessionLog> log;
  std::unique_ptr<LoggedSerialPort> logged;
};

// Opened from the window's context menu (or Ctrl+L), the view shows the same session
// the log file holds, from the start, and follows it as the dialog's events end.
TEST_F(SessionViewTest, ShowsTheLoggedSessionLiveAndSavesIt) {
  bench.addDevice("COM1:");
  dir.write("commport", "COM1:");
  openLoggedWindow();
  QAction* open = window->findChild<QAction*>(QStringLiteral("sessionViewAction"));
  ASSERT_NE(open, nullptr);
  EXPECT_TRUE(window->actions().contains(open));
  EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
  open->trigger();
  SessionViewWindow* view = window->sessionView();
  ASSERT_TRUE(view->isVisible());

  // Start-up's records are there already: the start line and the link check's frames.
  const QStringList atStart = shown();
  ASSERT_FALSE(atStart.isEmpty());
  EXPECT_TRUE(atStart.front().contains(QStringLiteral("start "))) << atStart.front().toStdString();
  EXPECT_FALSE(atStart.filter(QStringLiteral("\u2192 ")).isEmpty());

  bench.replyWith("COM1:", "MESSAGE SUCCESS\r\n");
  tick();
  EXPECT_TRUE(shown().back().endsWith(QStringLiteral("\u2190 MESSAGE SUCCESS<CR><LF>")))
      << shown().back().toStdString();
  EXPECT_EQ(view->list()->item(view->list()->count() - 1)->foreground().color(),
            QColor(0x1a, 0x7f, 0x2e));

  view->setSearch(QStringLiteral("message success"));
  ASSERT_EQ(shown().size(), 1) << shown().join('\n').toStdString();
  view->setHex(true);  // the search reads what is shown: now hex
  EXPECT_TRUE(shown().isEmpty());
  view->setSearch(QStringLiteral("4d 45 53 53 41 47 45 20"));
  ASSERT_EQ(shown().size(), 1);
  EXPECT_TRUE(shown().front().contains(QStringLiteral("\u2190 4D 45 53 53"))) << shown().front().toStdString();
  view->setSearch({});
  view->setHex(false);

  // Saved, the view's records are the log file's lines so far.
  log->flush();
  const QString saved = QString::fromStdString((dir / "saved.log").string());
  ASSERT_TRUE(view->saveTo(saved));
  EXPECT_EQ(dir.read("saved.log"), dir.read("corvane.log"));

  view->clearRecords();
  EXPECT_TRUE(shown().isEmpty());
  window.reset();  // the log outlives the window and no longer feeds it
  log->noteEnd();
  log->flush();
}

}  // namespace
