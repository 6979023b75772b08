#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QWidget>

// The status line of a program's window, as the operator finds it: a label named and
// announced "status" that shows the newest message and overlaps none of the dialog's
// controls. Works for any window with page() (the controls) and statusLine().
template <class Window>
void expectStatusLineBelowEveryControl(Window& window) {
  window.show();
  auto* status = window.template findChild<QLabel*>("status");
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->accessibleName(), QStringLiteral("status"));
  window.statusLine().show("COM1: opened /dev/ttyS0");
  EXPECT_EQ(status->text(), QStringLiteral("COM1: opened /dev/ttyS0"));
  const QRect line(status->mapTo(&window, QPoint(0, 0)), status->size());
  for (QWidget* control : window.page().template findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QRect shown(control->mapTo(&window, QPoint(0, 0)), control->size());
    EXPECT_FALSE(shown.intersects(line)) << control->objectName().toStdString();
  }
}
