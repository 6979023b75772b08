#pragma once

#include <QFont>
#include <QRect>

// Dialog units to pixels, the units the dialogs' layouts are given in:
// a horizontal unit is a quarter of the dialog font's average character width and a
// vertical unit an eighth of its height. The layout therefore follows the font.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& dialogFont);
  DialogUnits(int baseWidthPx, int baseHeightPx) : baseX_(baseWidthPx), baseY_(baseHeightPx) {}

  // The font of every dialog of both programs. The templates name "MS Sans Serif" 8,
  // which Linux does not have: the platform's default sans-serif font at 8 points
  // stands in for it.
  static QFont dialogFont();

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
};
