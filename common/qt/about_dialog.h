#pragma once

#include <QDialog>
#include <QString>

// The About box of both programs: "About <program>" with the icon, the line
// "<program> Version 1.0" and a default OK button that closes it.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(const QString& programName, QWidget* parent);

  static QString menuEntry(const QString& programName);  // "&About Corvane..."
};
