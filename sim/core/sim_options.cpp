#include "sim/core/sim_options.h"

#include <charconv>

namespace zmsim {

namespace {

std::optional<int> parseInt(const std::string& text, int minimum, int maximum) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < minimum || value > maximum) return std::nullopt;
  return value;
}

std::optional<Outcome> parseOutcome(const std::string& text) {
  if (text == "deliver") return Outcome::Deliver;
  if (text == "no-kissoff") return Outcome::NoKissoff;
  if (text == "no-answer") return Outcome::NoAnswer;
  return std::nullopt;
}

constexpr int kMaxMs = 3600 * 1000;

}  // namespace

std::string simUsage() {
  return "usage: zmsim [options]\n"
         "  --link PATH            make PATH a link to the pseudo-terminal (e.g. DIR/ports/COM3)\n"
         "  --baud 9600|115200     the module's line speed (9600)\n"
         "  --outcome deliver|no-kissoff|no-answer   how calls end (deliver)\n"
         "  --call-ms MS           from G to the result line (4000)\n"
         "  --nul-before-report    a zero byte ahead of each result line\n"
         "  --split-report         each result line in two pieces 300 ms apart\n"
         "  --flood                a burst of trace text at every call start\n"
         "  --unplug-after MS      vanish MS after the first G, as an unplugged module\n"
         "  --log FILE             protocol log: every frame received, every byte sent\n"
         "  --exit-when-closed     end once the PC has closed the port for 3 s\n"
         "SIGUSR1 writes the registers and memories to the log; SIGINT or SIGTERM ends.\n";
}

ParsedArgs parseSimOptions(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  SimOptions options;
  auto fail = [&parsed](std::string message) {
    parsed.error = std::move(message);
    return parsed;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      return parsed;
    } else if (arg == "--nul-before-report") {
      options.module.faults.nulBeforeReport = true;
    } else if (arg == "--split-report") {
      options.module.faults.splitReport = true;
    } else if (arg == "--flood") {
      options.module.faults.flood = true;
    } else if (arg == "--exit-when-closed") {
      options.exitWhenClosed = true;
    } else if (arg == "--link" || arg == "--log" || arg == "--baud" || arg == "--outcome" ||
               arg == "--call-ms" || arg == "--unplug-after") {
      std::optional<std::string> text = value();
      if (!text || text->empty()) return fail(arg + " needs a value");
      if (arg == "--link") {
        options.link = *text;
      } else if (arg == "--log") {
        options.logFile = *text;
      } else if (arg == "--baud") {
        std::optional<int> baud = parseInt(*text, 0, 115200);
        if (!baud || (*baud != 9600 && *baud != 115200)) return fail("--baud is 9600 or 115200");
        options.baud = *baud;
      } else if (arg == "--outcome") {
        std::optional<Outcome> outcome = parseOutcome(*text);
        if (!outcome) return fail("--outcome is deliver, no-kissoff or no-answer");
        options.module.outcome = *outcome;
      } else if (arg == "--call-ms") {
        std::optional<int> ms = parseInt(*text, 100, kMaxMs);
        if (!ms) return fail("--call-ms is a number of milliseconds from 100");
        options.module.callLengthMs = *ms;
      } else {
        std::optional<int> ms = parseInt(*text, 0, kMaxMs);
        if (!ms) return fail("--unplug-after is a number of milliseconds");
        options.unplugAfterMs = *ms;
      }
    } else {
      return fail("unknown option " + arg);
    }
  }
  parsed.options = options;
  return parsed;
}

}  // namespace zmsim
