#pragma once

#include <QDialog>
#include <QString>

// The About box of both programs: "About <program>" with the icon, the line
// "<program> Version 1.0" and a default OK button that closes it. Below the version
// it names the folder the program works in, when one is given, so the operator knows
// where the settings files are.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(const QString& programName, QWidget* parent, const QString& workingFolder = {});

  static QString menuEntry(const QString& programName);  // "&About Corvane..."
};
