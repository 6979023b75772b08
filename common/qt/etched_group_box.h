#pragma once

#include <QGroupBox>

// A group box whose etched frame fills the
// control's rectangle from the middle of the caption's line down, and the caption
// interrupts the top edge. (Qt's styles put the frame below the caption, which would
// run it through the controls placed just under the caption.) It never takes clicks.
class EtchedGroupBox : public QGroupBox {
  Q_OBJECT

 public:
  EtchedGroupBox(const QString& caption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};
