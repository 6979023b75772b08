#include <gtest/gtest.h>

#include <QAction>
#include <QTableWidget>

#include "e2e/corvane_session.h"
#include "e2e/sim_process.h"
#include "corvane/view/plan_launcher.h"
#include "corvane/view/plan_window.h"
#include "fakes/temp_dir.h"

namespace {

// The installer at the bench runs a plan from the window's context menu: the same
// dialog runs it between its ticks, and the verdicts fill the plan window's table.
TEST(PlanFromTheWindow, RunsOnTheWindowsOwnDialogAndShowsEachVerdict) {
  TempDir dir;
  dir.write("commport", "COM1:");
  SimProcess sim{dir.path(), "COM1", {"--call-ms", "300"}};
  ASSERT_TRUE(sim.ready());
  dir.write("plan.toml",
            "port = \"COM1:\"\ntelephone = \"5551234\"\n"
            "[[step]]\ndo = \"alarm\"\nformat = \"pulse-4x2\"\nmessage = \"123431\"\n"
            "[[step]]\ndo = \"alarm\"\nformat = \"contact-id\"\nmessage = \"123418113101015\"\nrepeat = 2\n");
  CorvaneSession corvane(dir.path());
  auto* action = corvane.window().findChild<QAction*>("runPlanAction");
  ASSERT_NE(action, nullptr);
  EXPECT_TRUE(corvane.window().actions().contains(action));  // in the context menu
  EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));

  auto* launcher = corvane.window().findChild<PlanLauncher*>();
  ASSERT_NE(launcher, nullptr);
  ASSERT_TRUE(launcher->runPlan(QString::fromStdString((dir.path() / "plan.toml").string())));
  QTableWidget& table = launcher->planWindow()->table();
  ASSERT_TRUE(waitUntil([&] { return table.rowCount() == 4; }, 30000)) << corvane.stderrText();
  for (int row = 0; row < 4; ++row) EXPECT_EQ(table.item(row, 3)->text(), "pass") << row;
  EXPECT_TRUE(waitUntil([&] { return corvane.saidOnStderr("plan passed: 4 of 4 cases passed"); }, 2000))
      << corvane.stderrText();
  // The window's own controls show what the plan did, as after the operator's clicks.
  EXPECT_TRUE(corvane.shownChecked(corvane_ids::kContactId));
  EXPECT_EQ(corvane.text(corvane_ids::kAlarmMessage1), "123418113101015");
  EXPECT_EQ(dir.read("protocol2"), "0");
}

}  // namespace
