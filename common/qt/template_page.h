#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

// The client area of a dialog template: the controls sit at their rectangles, in
// pixels from the dialog units, and never move. The page is never smaller than the
// template (a scroll area around it makes up for a small screen); when it is given
// more room, one control, the growing one, takes all of it and the rest stay put.
class TemplatePage : public QWidget {
  Q_OBJECT

 public:
  TemplatePage(QSize templateSize, QWidget* parent = nullptr);

  QSize templateSize() const { return templateSize_; }
  // A new size of the template, when the layout is drawn at another scale.
  void setTemplateSize(QSize templateSize);
  QSize sizeHint() const override { return templateSize_; }

  // The control that takes the extra room, at its template rectangle. Null: none.
  void setGrowingControl(QWidget* control, QRect templateRect);
  QWidget* growingControl() const { return growing_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void placeGrowingControl();

  QSize templateSize_;
  QWidget* growing_ = nullptr;
  QRect growingRect_;
};
