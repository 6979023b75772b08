#include "common/qt/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>

namespace {

// Multiplies and divides with rounding to nearest, as the window system did.
int mulDiv(int value, int numerator, int denominator) {
  long long product = static_cast<long long>(value) * numerator;
  long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& dialogFont) {
  QFontMetrics metrics(dialogFont);
  // The average width is taken over the 52 letters, rounded, as dialog units are
  // defined; the font's own average would count digits and punctuation.
  static const QString kAlphabet =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  int letters = metrics.horizontalAdvance(kAlphabet);
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

int DialogUnits::toPixelsX(int units) const { return mulDiv(units, baseX_, 4); }
int DialogUnits::toPixelsY(int units) const { return mulDiv(units, baseY_, 8); }

QRect DialogUnits::toPixels(int x, int y, int width, int height) const {
  int left = toPixelsX(x);
  int top = toPixelsY(y);
  int right = toPixelsX(x + width);
  int bottom = toPixelsY(y + height);
  return QRect(left, top, right - left, bottom - top);
}
