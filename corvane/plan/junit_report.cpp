#include "corvane/plan/junit_report.h"

#include <cstdio>

namespace {

std::string seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", static_cast<double>(ms) / 1000.0);
  return text;
}

std::string hexByte(unsigned char c) {
  char text[16];
  std::snprintf(text, sizeof text, "&lt;%02X&gt;", c);
  return text;
}

// The length of the valid UTF-8 sequence at text[i], 0 when there is none.
std::size_t utf8Length(const std::string& text, std::size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  const std::size_t n = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
  if (n == 0 || i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

std::string xmlEscaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '&': out += "&amp;"; continue;
      case '<': out += "&lt;"; continue;
      case '>': out += "&gt;"; continue;
      case '"': out += "&quot;"; continue;
      case '\n': out += '\n'; continue;
      case '\t': out += '\t'; continue;
      default: break;
    }
    if (c < 0x20 || c == 0x7F) {
      out += hexByte(c);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const std::size_t n = utf8Length(text, i); n > 0) {
      out.append(text, i, n);
      i += n - 1;
    } else {
      out += hexByte(c);
    }
  }
  return out;
}

std::string junitReport(const PlanResults& results) {
  int failures = 0;
  std::int64_t totalMs = 0;
  for (const CaseResult& c : results.cases) {
    failures += c.passed ? 0 : 1;
    totalMs += c.elapsedMs;
  }
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  xml += "<testsuites tests=\"" + std::to_string(results.cases.size()) + "\" failures=\"" +
         std::to_string(failures) + "\">\n";
  xml += "  <testsuite name=\"" + xmlEscaped(results.planFile) + "\" tests=\"" +
         std::to_string(results.cases.size()) + "\" failures=\"" + std::to_string(failures) +
         "\" errors=\"0\" time=\"" + seconds(totalMs) + "\">\n";
  for (const CaseResult& c : results.cases) {
    xml += "    <testcase classname=\"corvane.plan\" name=\"" + xmlEscaped(c.name) + "\" time=\"" +
           seconds(c.elapsedMs) + "\">\n";
    if (!c.passed) {
      std::string message = verdictWords(c.verdict);
      if (!c.words.empty()) message += ": " + c.words;
      xml += "      <failure message=\"" + xmlEscaped(message) + "\" type=\"" + verdictWords(c.verdict) +
             "\">expected " + xmlEscaped(c.expected) + "</failure>\n";
    }
    xml += "      <system-out>" + xmlEscaped(c.log) + "</system-out>\n";
    xml += "    </testcase>\n";
  }
  if (!results.stopped.empty()) xml += "    <system-err>" + xmlEscaped("stopped: " + results.stopped) + "</system-err>\n";
  xml += "  </testsuite>\n</testsuites>\n";
  return xml;
}
