#pragma once

#include <QObject>
#include <functional>

#include "halvard/test_email/dialog_thread.h"

// DialogThread over a queued signal: post() emits from any thread, and the connected
// slot runs the task on the thread this object lives on, the dialog's. Tasks still
// queued when it is destroyed are dropped with it.
class QtDialogThread : public QObject, public DialogThread {
  Q_OBJECT

 public:
  explicit QtDialogThread(QObject* parent = nullptr);
  void post(std::function<void()> task) override;

 signals:
  void posted(std::function<void()> task);
};
