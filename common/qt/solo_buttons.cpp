#include "common/qt/solo_buttons.h"

#include <QLabel>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

constexpr int kCaptionMarginPx = 3;

QLabel* makeCaptionLabel(const QString& caption, Qt::Alignment alignment, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(alignment);
  // The button underneath takes every click and keeps the accessible name.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  label->setAccessibleName(QString());
  label->setForegroundRole(QPalette::ButtonText);
  return label;
}

}  // namespace

WrappingPushButton::WrappingPushButton(const QString& caption, bool wrapCaption, QWidget* parent)
    : QPushButton(caption, parent) {
  setAutoDefault(false);
  setDefault(false);
  if (wrapCaption) label_ = makeCaptionLabel(caption, Qt::AlignCenter, this);
}

void WrappingPushButton::paintEvent(QPaintEvent* event) {
  if (label_ == nullptr) {
    QPushButton::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
}

void WrappingPushButton::resizeEvent(QResizeEvent* event) {
  QPushButton::resizeEvent(event);
  if (label_ != nullptr) label_->setGeometry(rect().adjusted(kCaptionMarginPx, 1, -kCaptionMarginPx, -1));
}

SoloRadioButton::SoloRadioButton(const QString& caption, bool wrapCaption, QWidget* parent)
    : QRadioButton(caption, parent) {
  setAutoExclusive(false);
  if (wrapCaption) label_ = makeCaptionLabel(caption, Qt::AlignLeft | Qt::AlignVCenter, this);
}

void SoloRadioButton::nextCheckState() { setChecked(true); }

bool SoloRadioButton::hitButton(const QPoint& pos) const {
  return label_ != nullptr ? rect().contains(pos) : QRadioButton::hitButton(pos);
}

void SoloRadioButton::paintEvent(QPaintEvent* event) {
  if (label_ == nullptr) {
    QRadioButton::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_RadioButton, option);
}

void SoloRadioButton::resizeEvent(QResizeEvent* event) {
  QRadioButton::resizeEvent(event);
  if (label_ == nullptr) return;
  QStyleOptionButton option;
  initStyleOption(&option);
  int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, this) +
               style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, this);
  label_->setGeometry(rect().adjusted(indent, 0, 0, 0));
}
