#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// Each program's icon, drawn in code so the window, the About box and the icon theme's
// files (rendered at build time from this same drawing) show one picture. All three
// share the module's case, so they read as one family, and differ in what it shows:
// Corvane a tone burst on the line (blue), Halvard an envelope (green), zmsim the
// burst on a grey case, a module that is not there.

// The program's icon in the sizes that window managers ask for. `program` is
// "Corvane", "Halvard" or "zmsim", in any case; another name gets Corvane's.
QIcon appIcon(const QString& program);

// One picture of it, sizePx square.
QPixmap drawAppIcon(const QString& program, int sizePx);
