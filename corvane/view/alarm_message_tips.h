#pragma once

#include <QObject>
#include <QString>

class CCorvaneDlg;
class TemplateDialog;

// The eight alarm message edits explain themselves: each has as its tooltip what its
// message means in the selected reporting format, and while an edit has the focus the
// window's status line shows the one-line summary. Both follow the operator's typing
// and a change of format. The explanation is the logic's
// (CCorvaneDlg::explainAlarmMessage); this only puts it on the widgets.
//
// The summary goes to the window's own status line only, never to stderr or the
// session log. Typing never hides a message that came while the edit had the focus,
// and leaving the edit brings back what the line showed before.
class AlarmMessageTips : public QObject {
 public:
  // Both must outlive this; the window is its parent.
  AlarmMessageTips(TemplateDialog& window, const CCorvaneDlg& logic);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Every tooltip, and the summary of the edit with the focus.
  void refresh();
  void showSummary(int n);
  void focusLeft(int n);
  int messageNumber(const QObject* edit) const;  // 1 to 8, 0 for another object

  TemplateDialog& window_;
  const CCorvaneDlg& logic_;
  int focused_ = 0;  // the message whose edit has the focus, 0 for none
  QString before_;   // what the status line showed when the edit got the focus
  QString shown_;    // the summary put there last, while it is still there
};
