#pragma once

#include <QWidget>
#include <vector>

#include "corvane/session_record.h"
#include "corvane/session_records.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

// The session view: a window beside Corvane's dialog that shows the session live, one
// line per frame, reply and note (corvane/session_records.h), sent and received in
// their own colours, with a hex view, a search, Clear and Save. It is fed the session
// log's records as the log writes them, at the end of each of the dialog's events, so
// it never runs inside a timed sequence and never holds one up.
class SessionViewWindow : public QWidget {
  Q_OBJECT

 public:
  explicit SessionViewWindow(QWidget* parent = nullptr);

  void addRecords(const std::vector<SessionRecord>& records);
  // Writes the kept records in the log's form; false (and why in problem) on failure.
  bool saveTo(const QString& file, QString* problem = nullptr);
  void setHex(bool on);
  void setSearch(const QString& text);
  void clearRecords();

  const SessionRecords& records() const { return records_; }
  QListWidget* list() const { return list_; }

 private:
  void rebuild();
  void appendLine(const SessionRecords::Line& line);
  void showCount();
  void chooseSaveFile();

  SessionRecords records_;
  SessionRecords::Options options_;
  QListWidget* list_;
  QCheckBox* hex_;
  QLineEdit* search_;
  QLabel* count_;
};
