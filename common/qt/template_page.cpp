#include "common/qt/template_page.h"

#include <QResizeEvent>

TemplatePage::TemplatePage(QSize templateSize, QWidget* parent)
    : QWidget(parent), templateSize_(templateSize) {
  setObjectName(QStringLiteral("page"));
  setMinimumSize(templateSize_);
  resize(templateSize_);
}

void TemplatePage::setTemplateSize(QSize templateSize) {
  templateSize_ = templateSize;
  setMinimumSize(templateSize_);
  updateGeometry();
  placeGrowingControl();
}

void TemplatePage::setGrowingControl(QWidget* control, QRect templateRect) {
  growing_ = control;
  growingRect_ = templateRect;
  placeGrowingControl();
}

void TemplatePage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeGrowingControl();
}

void TemplatePage::placeGrowingControl() {
  if (growing_ == nullptr) return;
  QSize extra = (size() - templateSize_).expandedTo(QSize(0, 0));
  growing_->setGeometry(growingRect_.adjusted(0, 0, extra.width(), extra.height()));
}
