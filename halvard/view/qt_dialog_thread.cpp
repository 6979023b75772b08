#include "halvard/view/qt_dialog_thread.h"

Q_DECLARE_METATYPE(std::function<void()>)

QtDialogThread::QtDialogThread(QObject* parent) : QObject(parent) {
  qRegisterMetaType<std::function<void()>>();
  connect(
      this, &QtDialogThread::posted, this, [](const std::function<void()>& task) { task(); },
      Qt::QueuedConnection);
}

void QtDialogThread::post(std::function<void()> task) { emit posted(std::move(task)); }
