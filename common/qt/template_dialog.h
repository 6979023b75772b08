#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/control_panel.h"
#include "common/qt/control_table.h"
#include "common/qt/dialog_units.h"

class QAction;
class QLabel;
class QScrollArea;
class StatusBarLine;
class StatusLine;
class TemplatePage;

// A program's main dialog built from its control table, and the ControlPanel that the
// dialog logic sees. It keeps no state of its own beyond the widgets: every operator
// action goes straight to a handler set with setHandlers().
//
// - Each control is found by the object name "control<id>" (controls without an id:
//   "label_<x>_<y>" or "group_<x>_<y>", in dialog units) and carries an accessible
//   name: its caption, or for an edit the label beside it.
// - Edits report only the operator's own changes; push buttons and radio buttons
//   report clicks. A radio button is shown checked before its handler runs.
// - Enter runs the OK handler and closes the dialog only when it returns true; Escape
//   and the close box close it without it. No push button is a default button.
// - F1 and the context menu entry "&About <program>..." open the About box.
// - The poll timer calls the tick handler; the program starts it when its start-up
//   is done. Closing the dialog stops it. It is a precise timer: a coarse one may
//   fire up to 5% early.
// - The controls sit on a page of the template's size inside a scroll area, with the
//   status line below it. The window opens at the template's size plus that line.
//   On a smaller screen, down to 1280 x 720 less a panel, the whole layout and its
//   font are drawn smaller in proportion so that every control shows; on a screen
//   smaller still the page keeps that scale and scrolls, so every control can be
//   reached. Room beyond the template goes to the template's growing control.
// - The status line ends with the folder the program works in (setWorkingFolder()),
//   which the About box names too.
class TemplateDialog : public QDialog, public ControlPanel {
  Q_OBJECT

 public:
  struct Handlers {
    std::function<void(int id)> textChanged;
    std::function<void(int id)> clicked;
    std::function<bool()> ok;  // store; true lets the dialog close
    std::function<void()> tick;
  };

  explicit TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);
  ~TemplateDialog() override;

  // The handlers must outlive the dialog's event processing (the logic they call is
  // owned by the derived window, which clears them in its destructor).
  void setHandlers(Handlers handlers);

  void startPollTimer(int periodMs);
  // Starts the current period again: the next tick comes a full period from now.
  void restartPollTimer();
  QTimer& pollTimer() { return pollTimer_; }

  QWidget* control(int id) const;
  // The page that holds the controls; control geometries are relative to it.
  TemplatePage& page() const { return *page_; }
  QScrollArea& scrollArea() const { return *scrollArea_; }
  // The one-line status line under the template. Lives as long as the dialog.
  StatusLine& statusLine();
  StatusBarLine& statusBar() const { return *status_; }
  // The window's size when the screen has room: the template and the status line.
  // The window's size when the screen has room: the template and the status line, at
  // the scale the layout is drawn at.
  QSize naturalSize() const;
  // The units the controls are placed by, at the current scale (units().scale()).
  const DialogUnits& units() const { return units_; }
  // Draws the layout and its font at `scale` times their size (1: as the template
  // says). The window fits itself to its screen with this when it is first shown.
  void layOut(double scale);
  // The folder the program works in, shown at the end of the status line and in the
  // About box.
  void setWorkingFolder(const QString& folder);
  QString workingFolder() const { return workingFolder_; }
  void showAbout();

  // ControlPanel
  std::string text(int id) const override;
  void setText(int id, const std::string& text) override;
  bool checked(int id) const override;
  void setChecked(int id, bool on) override;
  void setTextLimit(int id, int maxChars) override;
  void showMessage(const std::string& message) override;
  void setFocus(int id) override;

 public slots:
  void accept() override;
  void done(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // One tick of the poll timer; a derived window may add to it.
  virtual void runTick();

 private:
  QWidget* createControl(const ControlSpec& entry);
  void addAboutEntry();
  void buildFrame();
  // Shrinks and moves the window, frame included, into the screen's free area.
  void fitToScreen();
  void showWorkingFolder();

  DialogTemplate template_;
  DialogUnits naturalUnits_;  // at the dialog font's own size
  DialogUnits units_;         // at the scale the layout is drawn at
  Handlers handlers_;
  std::map<int, QWidget*> controls_;
  std::vector<std::pair<QWidget*, ControlSpec>> placed_;  // every control, with its entry
  QTimer pollTimer_;
  TemplatePage* page_ = nullptr;
  QScrollArea* scrollArea_ = nullptr;
  StatusBarLine* status_ = nullptr;
  QLabel* folder_ = nullptr;
  QString workingFolder_;
  bool fitted_ = false;
  QSize wantedSize_;  // the size before it was fitted to the screen
};
