#pragma once

#include <filesystem>
#include <string>

#include "common/status_line.h"
#include "corvane/plan/plan_listener.h"

// Keeps the --junit and --json reports up to date: each is rewritten whole after every
// case and at the end, so a kill or a crash leaves the cases done. A report that cannot
// be written is said on the status line once, and the run goes on.
class ReportFiles : public PlanListener {
 public:
  // Empty paths write nothing. status must outlive this.
  ReportFiles(std::filesystem::path junit, std::filesystem::path json, StatusLine& status);

  void caseFinished(const CaseResult&, const PlanResults& results) override { write(results); }
  void planFinished(const PlanResults& results) override { write(results); }
  void write(const PlanResults& results);

 private:
  void writeOne(const std::filesystem::path& path, const std::string& text, bool& failing);

  std::filesystem::path junit_;
  std::filesystem::path json_;
  StatusLine& status_;
  bool junitFailing_ = false;
  bool jsonFailing_ = false;
};
