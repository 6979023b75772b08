#include "corvane/state/alarm_outcome.h"

#include <algorithm>

#include "corvane/state/delivery_watch.h"

namespace {

// The word every failure report of the module's holds ("FAILED: NO ANSWER").
constexpr std::string_view kFailureWord = "FAIL";
// The longest delivery report, less one: how far back a report split over two reads
// may have begun.
constexpr std::size_t kReportOverlap = 14;

}  // namespace

std::string AlarmOutcome::failureLine(std::string_view text, std::string_view alsoWanted) {
  std::size_t begin = 0;
  for (std::size_t end = text.find_first_of("\r\n"); end != std::string_view::npos;
       begin = end + 1, end = text.find_first_of("\r\n", begin)) {
    const std::string_view line = text.substr(begin, end - begin);
    std::size_t at = line.find(kFailureWord);
    if (at == std::string_view::npos && !alsoWanted.empty()) at = line.find(alsoWanted);
    if (at != std::string_view::npos) return std::string(line.substr(at));
  }
  return {};
}

std::optional<std::string> AlarmOutcome::start(int n, std::int64_t atMs) {
  std::optional<std::string> previous;
  if (watching()) previous = end("no report", atMs, "the next message went out");
  message_ = std::max(n, 1);
  startMs_ = atMs;
  reportMs_.reset();
  text_.clear();
  return previous;
}

std::optional<std::string> AlarmOutcome::received(std::string_view bytes, std::int64_t atMs) {
  if (!watching() || bytes.empty()) return std::nullopt;
  const std::size_t from = text_.size() > kReportOverlap ? text_.size() - kReportOverlap : 0;
  text_ += bytes;
  if (!reportMs_ && DeliveryWatch::holdsDeliveryReport(std::string_view(text_).substr(from))) {
    reportMs_ = atMs;
  }
  if (bytes.find_first_of("\r\n") != std::string_view::npos) {
    const std::string failure = failureLine(text_);
    if (!failure.empty()) return end("failed", atMs, failure);
  }
  if (text_.size() > kKeptBytes) text_.erase(0, text_.size() - kKeptBytes);
  return std::nullopt;
}

std::optional<std::string> AlarmOutcome::delivered(std::int64_t atMs) {
  if (!watching()) return std::nullopt;
  return end("delivered", reportMs_.value_or(atMs), {});
}

std::optional<std::string> AlarmOutcome::noReport(std::int64_t atMs, std::string_view why) {
  if (!watching()) return std::nullopt;
  return end("no report", atMs, why);
}

std::string AlarmOutcome::end(const char* how, std::int64_t atMs, std::string_view words) {
  std::string line = "message " + std::to_string(message_) + ' ' + how + " after " +
                     std::to_string(std::max<std::int64_t>(atMs - startMs_, 0)) + " ms";
  if (!words.empty()) {
    line += ": ";
    line += words;
  }
  message_ = 0;
  text_.clear();
  return line;
}
