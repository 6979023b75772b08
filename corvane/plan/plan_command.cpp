#include "corvane/plan/plan_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "corvane/plan/headless_run.h"
#include "corvane/plan/plan_checker.h"
#include "corvane/plan/plan_parser.h"

namespace fs = std::filesystem;

namespace {

// The plan with every problem of its syntax, values and messages on stderr; nothing
// when there are any. With notes, also what each message means, on stdout.
std::optional<TestPlan> readPlan(const std::string& file, bool notes) {
  ParsedPlan parsed = parsePlanFile(file);
  PlanProblems problems = parsed.problems;
  if (parsed.ok()) {
    const PlanCheck check = checkPlan(parsed.plan);
    problems = check.problems;
    if (notes) {
      for (const MessageNote& note : check.notes)
        std::printf("%s\n", formatProblem(file, {note.place, note.summary}).c_str());
    }
  }
  std::stable_sort(problems.begin(), problems.end(), [](const PlanProblem& a, const PlanProblem& b) {
    return a.place.line != b.place.line ? a.place.line < b.place.line : a.place.column < b.place.column;
  });
  for (const PlanProblem& problem : problems) std::fprintf(stderr, "%s\n", formatProblem(file, problem).c_str());
  if (!problems.empty()) {
    std::fprintf(stderr, "%s: %zu problem%s: the plan cannot be used\n", file.c_str(), problems.size(),
                 problems.size() == 1 ? "" : "s");
    return std::nullopt;
  }
  return parsed.plan;
}

// A path given on the command line, made absolute before --desktop changes directory.
std::string fixed(const std::string& path, bool desktop) {
  if (path.empty() || !desktop) return path;
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  return ec ? path : absolute.string();
}

}  // namespace

std::optional<int> startCorvaneFromCommandLine(const ProgramInfo& program, int argc, char** argv) {
  const CommandLine line =
      parseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), program.plans);
  const std::string checkFile = fixed(line.checkPlan, line.desktop);
  const std::string runFile = fixed(line.runPlan, line.desktop);
  HeadlessRunFiles reports{fixed(line.junitFile, line.desktop), fixed(line.jsonFile, line.desktop)};
  if (std::optional<int> status = startFromCommandLine(program, argc, argv)) return status;

  if (!checkFile.empty()) {
    const std::optional<TestPlan> plan = readPlan(checkFile, true);
    if (!plan) return plan_exit::kUnusable;
    std::printf("%s: %zu steps, %d alarms: the plan can be run\n", checkFile.c_str(), plan->steps.size(),
                countAlarms(*plan));
    return plan_exit::kPassed;
  }
  if (!runFile.empty()) {
    const std::optional<TestPlan> plan = readPlan(runFile, false);
    if (!plan) return plan_exit::kUnusable;
    return runPlanWithoutWindow(*plan, reports);
  }
  return std::nullopt;
}
