#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// The one QApplication of a test program of the Qt views. Register it once per
// program with
//   static auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtTestEnvironment);
// Without a display the widgets run offscreen (CTest sets QT_QPA_PLATFORM too).
class QtTestEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "view_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

// Shows a window and makes it the active one, as the operator's click would; window
// shortcuts such as F1 reach only the active window.
inline void showActive(QWidget& window) {
  window.show();
  window.activateWindow();
  QCoreApplication::processEvents();
}

// Runs action on the modal dialog that the code under test is about to open (an
// About box, a message box), from inside its event loop; the test's own code stays
// free of waits. The action should close the dialog.
inline void whenModalOpens(std::function<void(QWidget* modal)> action) {
  QTimer::singleShot(0, [action = std::move(action)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isModal()) modal = w;
    }
    action(modal);
  });
}
