#include "corvane/view/session_view_window.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <fstream>

namespace {

// Sent in blue, received in green, so the two sides read apart at a glance; what did
// not go out in red; the alarm's explanation and outcome stand out from the notes.
QColor toneColour(SessionRecords::Tone tone) {
  switch (tone) {
    case SessionRecords::Tone::kSent: return QColor(0x1f, 0x4e, 0xc8);
    case SessionRecords::Tone::kReceived: return QColor(0x1a, 0x7f, 0x2e);
    case SessionRecords::Tone::kUnsent: return QColor(0xc0, 0x1c, 0x28);
    case SessionRecords::Tone::kAlarm: return QColor(0x80, 0x3c, 0x9e);
    case SessionRecords::Tone::kOutcome: return QColor(0x9c, 0x5a, 0x00);
    case SessionRecords::Tone::kNote: break;
  }
  return QColor(0x5e, 0x5c, 0x64);
}

}  // namespace

SessionViewWindow::SessionViewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("sessionView"));
  setWindowTitle(tr("Corvane session"));
  list_ = new QListWidget(this);
  list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  list_->setUniformItemSizes(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  hex_ = new QCheckBox(tr("&Hex"), this);
  search_ = new QLineEdit(this);
  search_->setPlaceholderText(tr("Search"));
  search_->setClearButtonEnabled(true);
  auto* clear = new QPushButton(tr("&Clear"), this);
  auto* save = new QPushButton(tr("&Save..."), this);
  count_ = new QLabel(this);

  auto* bar = new QHBoxLayout;
  bar->addWidget(search_, 1);
  bar->addWidget(hex_);
  bar->addWidget(clear);
  bar->addWidget(save);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(list_, 1);
  layout->addWidget(count_);

  connect(hex_, &QCheckBox::toggled, this, &SessionViewWindow::setHex);
  connect(search_, &QLineEdit::textChanged, this, &SessionViewWindow::setSearch);
  connect(clear, &QPushButton::clicked, this, &SessionViewWindow::clearRecords);
  connect(save, &QPushButton::clicked, this, &SessionViewWindow::chooseSaveFile);
  resize(720, 560);
  showCount();
}

void SessionViewWindow::addRecords(const std::vector<SessionRecord>& records) {
  const std::size_t droppedBefore = records_.dropped();
  records_.add(records);
  if (records_.dropped() != droppedBefore) {
    // The oldest went for the bound: the list follows the kept records.
    rebuild();
    return;
  }
  QScrollBar* scroll = list_->verticalScrollBar();
  const bool atEnd = scroll->value() == scroll->maximum();
  for (const SessionRecord& r : records) {
    SessionRecords::Line line = SessionRecords::lineOf(r, options_.hex);
    if (SessionRecords::matches(line, options_.search)) appendLine(line);
  }
  if (atEnd) list_->scrollToBottom();  // follows the session unless the reader scrolled up
  showCount();
}

void SessionViewWindow::appendLine(const SessionRecords::Line& line) {
  auto* item = new QListWidgetItem(QString::fromStdString(line.text), list_);
  item->setForeground(toneColour(line.tone));
  if (line.tone == SessionRecords::Tone::kOutcome) {
    QFont bold = list_->font();
    bold.setBold(true);
    item->setFont(bold);
  }
}

void SessionViewWindow::rebuild() {
  list_->clear();
  for (const SessionRecords::Line& line : records_.lines(options_)) appendLine(line);
  list_->scrollToBottom();
  showCount();
}

void SessionViewWindow::setHex(bool on) {
  if (hex_->isChecked() != on) hex_->setChecked(on);
  if (options_.hex == on) return;
  options_.hex = on;
  rebuild();
}

void SessionViewWindow::setSearch(const QString& text) {
  if (search_->text() != text) search_->setText(text);
  if (options_.search == text.toStdString()) return;
  options_.search = text.toStdString();
  rebuild();
}

void SessionViewWindow::clearRecords() {
  records_.clear();
  list_->clear();
  showCount();
}

void SessionViewWindow::showCount() {
  QString text = tr("%1 lines shown of %2 kept").arg(list_->count()).arg(records_.size());
  if (records_.dropped() > 0) text += tr("; %1 older dropped (./corvane.log has them)").arg(records_.dropped());
  count_->setText(text);
}

bool SessionViewWindow::saveTo(const QString& file, QString* problem) {
  std::ofstream out(file.toStdString(), std::ios::binary | std::ios::trunc);
  out << records_.logText();
  out.close();
  if (out) return true;
  if (problem) *problem = tr("%1 could not be written").arg(file);
  return false;
}

void SessionViewWindow::chooseSaveFile() {
  const QString file = QFileDialog::getSaveFileName(this, tr("Save the session"),
                                                    QStringLiteral("corvane-session.log"),
                                                    tr("Logs (*.log);;All files (*)"));
  if (file.isEmpty()) return;
  QString problem;
  if (!saveTo(file, &problem)) QMessageBox::warning(this, windowTitle(), problem);
}
