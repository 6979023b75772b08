#include "sim/core/sim_options.h"

#include <charconv>
#include <string_view>
#include <utility>

#include "common/command_line.h"

namespace zmsim {

namespace {

std::optional<int> parseInt(const std::string& text, int minimum, int maximum) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < minimum || value > maximum) return std::nullopt;
  return value;
}

constexpr Outcome kAllOutcomes[] = {Outcome::Deliver, Outcome::NoKissoff, Outcome::NoAnswer,
                                    Outcome::Unplug};

std::optional<Outcome> parseOutcome(std::string_view text) {
  for (Outcome outcome : kAllOutcomes) {
    if (text == outcomeName(outcome)) return outcome;
  }
  return std::nullopt;
}

// deliver,no-answer,...: one a call, at least one.
std::optional<std::vector<Outcome>> parseOutcomes(std::string_view text) {
  std::vector<Outcome> outcomes;
  while (true) {
    std::size_t comma = text.find(',');
    std::optional<Outcome> outcome = parseOutcome(text.substr(0, comma));
    if (!outcome) return std::nullopt;
    outcomes.push_back(*outcome);
    if (comma == std::string_view::npos) return outcomes;
    text.remove_prefix(comma + 1);
  }
}

constexpr int kMaxMs = 3600 * 1000;
constexpr std::uintmax_t kMaxLogBytes = std::uintmax_t{1} << 40;

// Bytes, or KiB, MiB or GiB with a K, M or G after the number.
std::optional<std::uintmax_t> parseBytes(const std::string& text) {
  std::uintmax_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end == text.data()) return std::nullopt;
  std::string_view suffix(end, static_cast<std::size_t>(text.data() + text.size() - end));
  int shift = suffix.empty() ? 0 : suffix == "K" ? 10 : suffix == "M" ? 20 : suffix == "G" ? 30 : -1;
  if (shift < 0 || value > (kMaxLogBytes >> shift)) return std::nullopt;
  value <<= shift;
  if (value < LogFile::kMinMaxBytes) return std::nullopt;
  return value;
}

// MS or MS:GONE_MS.
bool parseReplug(const std::string& text, SimOptions& options) {
  std::size_t colon = text.find(':');
  std::optional<int> after = parseInt(text.substr(0, colon), 0, kMaxMs);
  if (!after) return false;
  if (colon != std::string::npos) {
    std::optional<int> gone = parseInt(text.substr(colon + 1), 0, kMaxMs);
    if (!gone) return false;
    options.replugGoneMs = *gone;
  }
  options.replugAfterMs = *after;
  return true;
}

}  // namespace

const char* outcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::Deliver: return "deliver";
    case Outcome::NoKissoff: return "no-kissoff";
    case Outcome::NoAnswer: return "no-answer";
    case Outcome::Unplug: return "unplug";
  }
  return "?";
}

std::string simUsage() {
  return "usage: zmsim [options]\n"
         "  --link PATH            make PATH a link to the pseudo-terminal (e.g. DIR/ports/COM3)\n"
         "  --baud 9600|115200     the module's line speed (9600)\n"
         "  --outcome deliver|no-kissoff|no-answer|unplug   how every call ends (deliver)\n"
         "  --outcomes LIST        how the calls end, one a call in turn, the last repeated,\n"
         "                         e.g. deliver,no-answer,no-kissoff,deliver; unplug: the\n"
         "                         module vanishes --unplug-after MS (1000) after that G\n"
         "  --call-ms MS           from G to the result line (4000)\n"
         "  --nul-before-report    a zero byte ahead of each result line\n"
         "  --split-report         each result line in two pieces 300 ms apart\n"
         "  --flood                a burst of trace text at every call start\n"
         "  --unplug-after MS      vanish MS after the first G (or the G of an unplug\n"
         "                         call), as an unplugged module\n"
         "  --replug-after MS[:GONE_MS]  vanish MS after the first G, come back under the\n"
         "                         same link GONE_MS later (2000), registers kept\n"
         "  --frame-timeout-ms MS  answer a query left unfinished for MS with ? CR (off:\n"
         "                         frames take their bytes at any pace)\n"
         "  --log FILE             protocol log: every frame received, every byte sent\n"
         "  --log-max-bytes N      FILE becomes FILE.1 at N bytes (10M); K, M, G allowed\n"
         "  --exit-when-closed     end once the PC has closed the port for 3 s\n"
         "  --help                 this text\n"
         "  --version              the simulator's version\n"
         "SIGUSR1 writes the registers and memories to the log; SIGINT or SIGTERM ends.\n";
}

std::string simVersion() { return std::string("zmsim ") + programVersion() + "\n"; }

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
    } else if (arg == "--version" || arg == "-V") {
      parsed.version = true;
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
               arg == "--outcomes" || arg == "--call-ms" || arg == "--unplug-after" ||
               arg == "--replug-after" || arg == "--log-max-bytes" || arg == "--frame-timeout-ms") {
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
        if (!outcome) return fail("--outcome is deliver, no-kissoff, no-answer or unplug");
        options.module.outcomes = {*outcome};
      } else if (arg == "--outcomes") {
        std::optional<std::vector<Outcome>> outcomes = parseOutcomes(*text);
        if (!outcomes) {
          return fail("--outcomes is a list of deliver, no-kissoff, no-answer and unplug "
                      "with commas between, e.g. deliver,no-answer,deliver");
        }
        options.module.outcomes = std::move(*outcomes);
      } else if (arg == "--frame-timeout-ms") {
        std::optional<int> ms = parseInt(*text, 0, kMaxMs);
        if (!ms) return fail("--frame-timeout-ms is a number of milliseconds");
        options.module.frameTimeoutMs = *ms;
      } else if (arg == "--log-max-bytes") {
        std::optional<std::uintmax_t> bytes = parseBytes(*text);
        if (!bytes) return fail("--log-max-bytes is a size from 4096 bytes, e.g. 65536, 512K or 10M");
        options.logMaxBytes = *bytes;
      } else if (arg == "--replug-after") {
        if (!parseReplug(*text, options)) {
          return fail("--replug-after is MS or MS:GONE_MS, each a number of milliseconds");
        }
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
  if (options.unplugAfterMs >= 0 && options.replugAfterMs >= 0) {
    return fail("--unplug-after and --replug-after exclude each other");
  }
  parsed.options = options;
  return parsed;
}

}  // namespace zmsim
