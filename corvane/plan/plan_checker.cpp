#include "corvane/plan/plan_checker.h"

#include "common/alarm_message.h"

namespace {

// A multiple run reads messages 2 to 8 back from their files: 16 bytes at most, and
// an empty file or one that begins with X ends the run there.
constexpr std::size_t kRunFileBytes = 16;

std::string runFileProblem(const std::string& message) {
  if (message.empty()) return "it is empty, and an empty message file ends a multiple run";
  if (message[0] == 'X') return "it begins with X, which ends a multiple run";
  if (message.size() > kRunFileBytes)
    return "a multiple run reads only the first 16 characters of its file, and it has " +
           std::to_string(message.size());
  return {};
}

std::string joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += (all.empty() ? "" : "; ") + line;
  return all;
}

}  // namespace

PlanCheck checkPlan(const TestPlan& plan) {
  PlanCheck check;
  for (std::size_t s = 0; s < plan.steps.size(); ++s) {
    const PlanStep& step = plan.steps[s];
    const FormatInfo& format = formatInfo(step.format);
    for (std::size_t m = 0; m < step.messages.size(); ++m) {
      const std::string& message = step.messages[m];
      const PlanPlace place = m < step.messagePlaces.size() ? step.messagePlaces[m] : step.place;
      const AlarmExplanation explanation = explainAlarmMessage(format.protocolCode, message);
      check.notes.push_back({place, explanation.summary, !explanation.ok()});
      const std::string which = "step " + std::to_string(s + 1) +
                                (step.kind == PlanStep::Kind::kMultipleRun ? ", message " + std::to_string(m + 1) : "");
      if (!explanation.ok() && !step.wrongOnPurpose) {
        check.problems.push_back({place, which + ": " + format.shownName + " message \"" +
                                             shownMessage(message) + "\" is wrong: " +
                                             joined(explanation.problems) +
                                             " (wrong_on_purpose = true sends it as it is)"});
      }
      if (step.kind == PlanStep::Kind::kMultipleRun && m > 0) {
        if (std::string why = runFileProblem(message); !why.empty())
          check.problems.push_back({place, which + ": " + why});
      }
    }
  }
  return check;
}
