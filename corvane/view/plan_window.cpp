#include "corvane/view/plan_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "corvane/plan/json_report.h"
#include "corvane/plan/junit_report.h"
#include "corvane/plan/report_file.h"
#include "corvane/plan/terminal_progress.h"

namespace {

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

PlanWindow::PlanWindow(const QString& planFile, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("planWindow"));
  setWindowTitle(tr("Test plan %1").arg(planFile));
  setAttribute(Qt::WA_DeleteOnClose);
  where_ = new QLabel(tr("starting"), this);
  where_->setAccessibleName(tr("progress"));
  table_ = new QTableWidget(0, 4, this);
  table_->setObjectName(QStringLiteral("verdicts"));
  table_->setHorizontalHeaderLabels({tr("case"), tr("verdict"), tr("time"), tr("result")});
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  auto* saveJunit = new QPushButton(tr("Save &JUnit..."), this);
  auto* saveJson = new QPushButton(tr("Save J&SON..."), this);
  stop_ = new QPushButton(tr("S&top"), this);
  for (QPushButton* button : {saveJunit, saveJson, stop_}) button->setAutoDefault(false);
  connect(saveJunit, &QPushButton::clicked, this, [this] { save(true); });
  connect(saveJson, &QPushButton::clicked, this, [this] { save(false); });
  connect(stop_, &QPushButton::clicked, this, &PlanWindow::stopWanted);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(saveJunit);
  buttons->addWidget(saveJson);
  buttons->addStretch();
  buttons->addWidget(stop_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(where_);
  layout->addWidget(table_);
  layout->addLayout(buttons);
  resize(720, 360);
}

void PlanWindow::stepStarted(int step, int steps, const std::string& what) {
  where_->setText(tr("step %1 of %2: %3").arg(step + 1).arg(steps).arg(fromUtf8(what)));
}

void PlanWindow::caseStarted(const CaseResult& result) {
  where_->setText(fromUtf8(result.name) + tr(" ..."));
}

void PlanWindow::caseFinished(const CaseResult& result, const PlanResults& results) {
  results_ = results;
  const int row = table_->rowCount();
  table_->insertRow(row);
  std::string verdict = verdictWords(result.verdict);
  if (!result.words.empty()) verdict += ": " + result.words;
  const QString cells[] = {fromUtf8(result.name), fromUtf8(verdict), fromUtf8(secondsText(result.elapsedMs)),
                           result.passed ? tr("pass") : tr("FAIL")};
  for (int column = 0; column < 4; ++column) table_->setItem(row, column, new QTableWidgetItem(cells[column]));
  table_->scrollToBottom();
}

void PlanWindow::planFinished(const PlanResults& results) {
  results_ = results;
  const std::string summary = summaryTable(results);
  const std::size_t last = summary.rfind('\n', summary.size() - 2);
  where_->setText(fromUtf8(summary.substr(last == std::string::npos ? 0 : last + 1)).trimmed());
  stop_->setEnabled(false);
}

void PlanWindow::save(bool junit) {
  const QString file = QFileDialog::getSaveFileName(this, junit ? tr("Save the JUnit report") : tr("Save the JSON report"),
                                                    junit ? QStringLiteral("plan.xml") : QStringLiteral("plan.json"));
  if (file.isEmpty()) return;
  std::string error;
  if (!replaceFileWhole(file.toStdString(), junit ? junitReport(results_) : jsonReport(results_), error))
    QMessageBox::warning(this, windowTitle(), fromUtf8(error));
}
