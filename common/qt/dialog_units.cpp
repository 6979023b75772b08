#include "common/qt/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>

namespace {

// Multiplies and divides with rounding to nearest, as dialog managers do.
int mulDiv(int value, int numerator, int denominator) {
  long long product = static_cast<long long>(value) * numerator;
  long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

// The average width of a letter: the dialog unit's measure of a font.
const QString& alphabet() {
  static const QString kAlphabet =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return kAlphabet;
}

// Font sizes are tried down in these steps until the text fits the smaller layout.
constexpr double kFontStepPt = 0.1;
constexpr double kSmallestFontPt = 4.0;

}  // namespace

DialogUnits::DialogUnits(const QFont& dialogFont) {
  QFontMetrics metrics(dialogFont);
  // The average width is taken over the 52 letters, rounded; the font's own average
  // would count digits and punctuation.
  int letters = metrics.horizontalAdvance(alphabet());
  baseX_ = (letters / 26 + 1) / 2;
  baseY_ = metrics.height();
  if (baseX_ < 1) baseX_ = 1;
  if (baseY_ < 1) baseY_ = 1;
}

QFont DialogUnits::dialogFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

DialogUnits DialogUnits::scaled(double factor) const {
  DialogUnits units = *this;
  units.scale_ = factor > 0 ? factor : 1.0;
  return units;
}

QFont DialogUnits::scaledFont(const QFont& font, double factor) {
  if (factor >= 1.0) return font;
  // Glyphs do not grow in proportion to the point size (hinting rounds them to whole
  // pixels), so the size is found by measuring rather than by multiplying alone.
  const QFontMetricsF full(font);
  const double wantWidth = full.horizontalAdvance(alphabet()) * factor;
  const double wantHeight = full.height() * factor;
  QFont smaller = font;
  for (double pt = font.pointSizeF() * factor; pt >= kSmallestFontPt; pt -= kFontStepPt) {
    smaller.setPointSizeF(pt);
    const QFontMetricsF metrics(smaller);
    if (metrics.horizontalAdvance(alphabet()) <= wantWidth && metrics.height() <= wantHeight + 0.5)
      return smaller;
  }
  smaller.setPointSizeF(kSmallestFontPt);
  return smaller;
}

double DialogUnits::fitScale(QSize natural, QSize room, QSize smallestRoom) {
  if (natural.isEmpty()) return 1.0;
  auto factor = [natural](QSize space) {
    return std::min(static_cast<double>(space.width()) / natural.width(),
                    static_cast<double>(space.height()) / natural.height());
  };
  const double least = std::min(1.0, factor(smallestRoom));
  return std::clamp(factor(room), least, 1.0);
}

int DialogUnits::toPixelsX(int units) const {
  if (scale_ == 1.0) return mulDiv(units, baseX_, 4);
  return static_cast<int>(std::lround(units * baseX_ * scale_ / 4.0));
}

int DialogUnits::toPixelsY(int units) const {
  if (scale_ == 1.0) return mulDiv(units, baseY_, 8);
  return static_cast<int>(std::lround(units * baseY_ * scale_ / 8.0));
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const {
  int left = toPixelsX(x);
  int top = toPixelsY(y);
  int right = toPixelsX(x + width);
  int bottom = toPixelsY(y + height);
  return QRect(left, top, right - left, bottom - top);
}
