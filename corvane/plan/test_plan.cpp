#include "corvane/plan/test_plan.h"

#include <cstdio>

#include "corvane/control_ids.h"

namespace {

constexpr FormatInfo kFormats[] = {
    {AlarmFormat::kContactId, "contact-id", "Contact-ID", '0', corvane_ids::kContactId},
    {AlarmFormat::kSiaFskF1, "sia-fsk-f1", "SIA FSK F1", '1', corvane_ids::kFskF1},
    {AlarmFormat::kPulse4x2, "pulse-4x2", "Pulse 4X2", '2', corvane_ids::kPulse4x2},
    {AlarmFormat::kSiaFskF2, "sia-fsk-f2", "SIA FSK F2", '8', corvane_ids::kFskF2},
};

}  // namespace

const FormatInfo& formatInfo(AlarmFormat format) {
  for (const FormatInfo& info : kFormats)
    if (info.format == format) return info;
  return kFormats[0];
}

std::optional<AlarmFormat> formatFromPlanName(std::string_view name) {
  for (const FormatInfo& info : kFormats)
    if (name == info.planName) return info.format;
  return std::nullopt;
}

std::string formatPlanNames() {
  std::string names;
  for (const FormatInfo& info : kFormats) names += (names.empty() ? "" : ", ") + std::string(info.planName);
  return names;
}

int countAlarms(const TestPlan& plan) {
  int n = 0;
  for (const PlanStep& step : plan.steps) {
    if (step.kind == PlanStep::Kind::kAlarm || step.kind == PlanStep::Kind::kMultipleRun)
      n += step.repeat * static_cast<int>(step.messages.size());
  }
  return n;
}

std::string describeStep(const PlanStep& step) {
  const std::string format = formatInfo(step.format).shownName;
  switch (step.kind) {
    case PlanStep::Kind::kAlarm:
      return "alarm " + format + " " +
             shownMessage(step.messages.empty() ? std::string() : step.messages.front());
    case PlanStep::Kind::kMultipleRun:
      return "multiple run " + format + " (" + std::to_string(step.messages.size()) + " messages)";
    case PlanStep::Kind::kFactoryDefaults: return "factory defaults";
    case PlanStep::Kind::kPause: return "pause " + std::to_string(step.pauseSeconds) + " s";
  }
  return {};
}

std::string shownMessage(std::string_view message) {
  std::string out;
  for (char c : message) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F) {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "<%02X>", u);
      out += hex;
    }
  }
  return out;
}
