// Renders each program's icon to the PNG files of the icon theme, from the very drawing
// that the windows use (common/qt/app_icon.cpp), so the menu and the taskbar show one
// picture. Usage: zm_render_icon OUTPUT_DIR PROGRAM SIZE...
// writes OUTPUT_DIR/SIZE.png for each size.
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <string>

// The drawing itself, with its sizes scaled from one 32-unit picture.
#include "common/qt/app_icon.cpp"

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: zm_render_icon OUTPUT_DIR PROGRAM SIZE...\n");
    return 2;
  }
  // A build machine has no display; the pixmaps need none.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString outputDir = QString::fromLocal8Bit(argv[1]);
  const QString program = QString::fromLocal8Bit(argv[2]);
  for (int i = 3; i < argc; ++i) {
    int sizePx = std::atoi(argv[i]);
    if (sizePx < 8 || sizePx > 1024) {
      std::fprintf(stderr, "zm_render_icon: bad size %s\n", argv[i]);
      return 2;
    }
    const QString file = outputDir + QStringLiteral("/%1.png").arg(sizePx);
    if (!drawAppIcon(program, sizePx).save(file, "PNG")) {
      std::fprintf(stderr, "zm_render_icon: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
