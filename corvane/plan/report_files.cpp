#include "corvane/plan/report_files.h"

#include "corvane/plan/json_report.h"
#include "corvane/plan/junit_report.h"
#include "corvane/plan/report_file.h"

ReportFiles::ReportFiles(std::filesystem::path junit, std::filesystem::path json, StatusLine& status)
    : junit_(std::move(junit)), json_(std::move(json)), status_(status) {}

void ReportFiles::write(const PlanResults& results) {
  if (!junit_.empty()) writeOne(junit_, junitReport(results), junitFailing_);
  if (!json_.empty()) writeOne(json_, jsonReport(results), jsonFailing_);
}

void ReportFiles::writeOne(const std::filesystem::path& path, const std::string& text, bool& failing) {
  std::string error;
  if (replaceFileWhole(path, text, error)) {
    if (failing) status_.show("report written again: " + path.string());
    failing = false;
  } else if (!failing) {
    failing = true;
    status_.show("report not written: " + error);
  }
}
