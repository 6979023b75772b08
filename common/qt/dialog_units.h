#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Dialog units to pixels, the units the dialogs' layouts are given in: a horizontal
// unit is a quarter of the dialog font's average character width and a vertical unit
// an eighth of its height. The layout therefore follows the font. A layout may be
// drawn smaller by a factor, for a screen that is smaller than the dialog (scaled()).
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& dialogFont);
  DialogUnits(int baseWidthPx, int baseHeightPx) : baseX_(baseWidthPx), baseY_(baseHeightPx) {}

  // The font of every dialog of both programs. The templates name "MS Sans Serif" 8,
  // which Linux does not have: the platform's default sans-serif font at 8 points
  // stands in for it.
  static QFont dialogFont();

  // The same units drawn `factor` times as large (0 < factor <= 1 in practice).
  DialogUnits scaled(double factor) const;
  double scale() const { return scale_; }
  // The dialog font for this scale: no larger, relative to its unscaled self, than the
  // layout is, so every caption still fits the control it fitted unscaled.
  static QFont scaledFont(const QFont& font, double factor);

  // The factor by which a layout of `natural` pixels is drawn so that it fits `room`:
  // 1 when it fits, otherwise the largest factor that fits, but never less than the
  // one that fits `smallestRoom`. A room below that keeps that factor and scrolls,
  // since text drawn smaller still would be too small to read.
  static double fitScale(QSize natural, QSize room, QSize smallestRoom);

  int toPixelsX(int units) const;
  int toPixelsY(int units) const;
  // Each edge is converted on its own, so controls that do not overlap in dialog
  // units never overlap in pixels.
  QRect toPixels(int x, int y, int width, int height) const;

  int baseWidthPx() const { return baseX_; }
  int baseHeightPx() const { return baseY_; }

 private:
  int baseX_;
  int baseY_;
  double scale_ = 1.0;
};
