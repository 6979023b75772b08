#include "common/qt/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "common/qt/app_icon.h"
#include "common/qt/dialog_units.h"

namespace {

constexpr int kWidthUnits = 217;
constexpr int kHeightUnits = 55;
constexpr int kIconSizePx = 32;  // the system's icon size: not scaled with the font


}  // namespace

AboutDialog::AboutDialog(const QString& programName, QWidget* parent, const QString& workingFolder)
    : QDialog(parent) {
  setFont(DialogUnits::dialogFont());
  DialogUnits units(font());
  setWindowTitle(QStringLiteral("About ") + programName);
  setWindowIcon(appIcon(programName));
  QRect client = units.toPixels(0, 0, kWidthUnits, kHeightUnits);
  setFixedSize(client.size());

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("aboutIcon"));
  icon->setPixmap(appIcon(programName).pixmap(kIconSizePx, kIconSizePx));
  icon->setGeometry(QRect(units.toPixels(11, 17, 0, 0).topLeft(), QSize(kIconSizePx, kIconSizePx)));

  auto* version = new QLabel(programName + QStringLiteral(" Version 1.0"), this);
  version->setObjectName(QStringLiteral("aboutVersion"));
  version->setTextFormat(Qt::PlainText);
  version->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  version->setGeometry(units.toPixels(40, 10, 119, 8));

  if (!workingFolder.isEmpty()) {
    // Under the version, beside the icon and clear of OK; a path too long for the box
    // loses its middle, and stays whole in the tooltip.
    auto* folder = new QLabel(this);
    folder->setObjectName(QStringLiteral("aboutFolder"));
    folder->setTextFormat(Qt::PlainText);
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folder->setToolTip(workingFolder);
    folder->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    folder->setGeometry(units.toPixels(40, 24, 170, 8));
    const QString whole = QStringLiteral("Working folder: ") + workingFolder;
    folder->setText(folder->fontMetrics().elidedText(whole, Qt::ElideMiddle, folder->width()));
  }

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("control1"));
  ok->setGeometry(units.toPixels(178, 7, 32, 14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString AboutDialog::menuEntry(const QString& programName) {
  return QStringLiteral("&About ") + programName + QStringLiteral("...");
}
