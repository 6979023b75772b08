#include "corvane/plan/plan_parser.h"

#include <fstream>
#include <sstream>

#include "corvane/plan/toml_table_reader.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTopKeys = "port, speed, telephone, options, step";
constexpr const char* kOptionKeys =
    "audio, status_messages, debug_messages, sia_110_baud, reduce_6db, tone_hz, dialer_timeout, "
    "kissoff_time";
constexpr const char* kAlarmKeys =
    "do, format, message, message_file, expect, failure, within, repeat, wrong_on_purpose";
constexpr const char* kRunKeys = "do, format, messages, expect, failure, within, repeat, wrong_on_purpose";
constexpr const char* kPauseKeys = "do, seconds";
constexpr const char* kDefaultsKeys = "do";
// ./commport holds 8 bytes of the name.
constexpr std::size_t kStoredPortChars = 8;
// The message edits take at most 999 characters.
constexpr std::size_t kMaxMessageChars = 999;

bool isCommName(const std::string& port) {
  return (port.size() == 4 || (port.size() == 5 && port[4] == ':')) && port.compare(0, 3, "COM") == 0 &&
         port[3] >= '1' && port[3] <= '9';
}

// A whole number within [low, high] or a problem that says what is allowed.
std::optional<int> ranged(TomlTableReader& in, std::string_view key, int low, int high, const char* unit) {
  std::optional<std::int64_t> value = in.integer(key);
  if (!value) return std::nullopt;
  if (*value < low || *value > high) {
    in.problem(key, "\"" + std::string(key) + "\" in " + in.where() + " is " + std::to_string(*value) +
                        ": it must be " + std::to_string(low) + " to " + std::to_string(high) + unit);
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

std::optional<std::string> hexPair(TomlTableReader& in, std::string_view key) {
  std::optional<std::string> value = in.text(key);
  if (!value) return std::nullopt;
  auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
  if (value->size() != 2 || !hex((*value)[0]) || !hex((*value)[1]) || *value == "00") {
    in.problem(key, "\"" + std::string(key) + "\" is \"" + *value +
                        "\": it must be two upper-case hex digits, 01 to FF (counts of two seconds)");
    return std::nullopt;
  }
  return value;
}

class Parser {
 public:
  Parser(const std::string& file, fs::path baseDir, ParsedPlan& out)
      : baseDir_(std::move(baseDir)), out_(out) {
    out_.plan.file = file;
  }

  void read(const toml::table& root) {
    TomlTableReader top(root, "the plan", out_.problems);
    readPort(top);
    if (top.has("speed")) {
      if (std::optional<std::int64_t> speed = top.integer("speed")) {
        if (*speed == 9600 || *speed == 115200) out_.plan.speed = static_cast<int>(*speed);
        else top.problem("speed", "\"speed\" is " + std::to_string(*speed) + ": the module runs at 9600 or 115200 baud");
      }
    }
    readTelephone(top);
    if (const toml::table* options = top.table("options")) readOptions(*options);
    readSteps(top);
    top.reportUnknownKeys(kTopKeys);
  }

 private:
  void readPort(TomlTableReader& top) {
    std::optional<std::string> port = top.text("port");
    if (!port) {
      if (!top.has("port")) top.problem("port", "the plan names no \"port\" (COM1: to COM9:, a device path, or \"detect\")");
      return;
    }
    if (*port != TestPlan::kDetectPort && !isCommName(*port) && (port->empty() || (*port)[0] != '/')) {
      top.problem("port", "\"port\" is \"" + *port + "\": it must be COM1: to COM9:, a device path starting with /, or \"detect\"");
      return;
    }
    if (isCommName(*port) && port->size() == 4) *port += ':';
    if ((*port)[0] == '/' && port->size() > kStoredPortChars) {
      top.problem("port", "\"port\" is \"" + *port + "\": Corvane keeps at most 8 characters of a port name; make ports/COM1 a link to the device and name COM1:");
      return;
    }
    out_.plan.port = *port;
  }

  void readTelephone(TomlTableReader& top) {
    std::optional<std::string> number = top.text("telephone");
    if (!number) return;
    // The D frame takes 16 characters and no end after them; the module dials digits.
    bool digits = !number->empty() && number->size() <= 15;
    for (char c : *number) digits = digits && ((c >= '0' && c <= '9') || c == '*' || c == '#');
    if (!digits) {
      top.problem("telephone", "\"telephone\" is \"" + *number + "\": it must be 1 to 15 of the digits 0-9, * and #");
      return;
    }
    out_.plan.telephone = number;
  }

  void readOptions(const toml::table& table) {
    TomlTableReader in(table, "[options]", out_.problems);
    PlanOptions& o = out_.plan.options;
    o.audio = in.flag("audio");
    o.statusMessages = in.flag("status_messages");
    o.debugMessages = in.flag("debug_messages");
    o.sia110Baud = in.flag("sia_110_baud");
    o.reduce6db = in.flag("reduce_6db");
    if (std::optional<std::int64_t> hz = in.integer("tone_hz")) {
      if (*hz == 1400 || *hz == 2300) o.tone1400 = *hz == 1400;
      else in.problem("tone_hz", "\"tone_hz\" is " + std::to_string(*hz) + ": the tones are 1400 or 2300 Hz");
    }
    o.dialerTimeout = hexPair(in, "dialer_timeout");
    o.kissoffTime = hexPair(in, "kissoff_time");
    in.reportUnknownKeys(kOptionKeys);
  }

  void readSteps(TomlTableReader& top) {
    const toml::array* steps = top.array("step");
    if (steps == nullptr) {
      if (!top.has("step")) top.problem("step", "the plan has no [[step]]");
      return;
    }
    for (std::size_t i = 0; i < steps->size(); ++i) {
      const toml::node& node = *steps->get(i);
      const std::string where = "step " + std::to_string(i + 1);
      if (!node.is_table()) {
        out_.problems.push_back({placeOf(node.source()), where + " must be a table ([[step]])"});
        continue;
      }
      readStep(*node.as_table(), where);
    }
  }

  void readStep(const toml::table& table, const std::string& where) {
    TomlTableReader in(table, where, out_.problems);
    PlanStep step;
    step.place = in.place();
    std::optional<std::string> action = in.text("do");
    if (!action) {
      if (!in.has("do")) in.problem("do", where + " does not say what to \"do\" (alarm, multiple-run, factory-defaults, pause)");
      return;
    }
    if (*action == "alarm") {
      step.kind = PlanStep::Kind::kAlarm;
      readAlarm(in, step, false);
      in.reportUnknownKeys(kAlarmKeys);
    } else if (*action == "multiple-run") {
      step.kind = PlanStep::Kind::kMultipleRun;
      readAlarm(in, step, true);
      in.reportUnknownKeys(kRunKeys);
    } else if (*action == "factory-defaults") {
      step.kind = PlanStep::Kind::kFactoryDefaults;
      in.reportUnknownKeys(kDefaultsKeys);
    } else if (*action == "pause") {
      step.kind = PlanStep::Kind::kPause;
      if (!in.has("seconds")) in.problem("do", where + ": a pause needs \"seconds\"");
      step.pauseSeconds = ranged(in, "seconds", 1, plan_limits::kMaxPauseSeconds, " seconds").value_or(0);
      in.reportUnknownKeys(kPauseKeys);
    } else {
      in.problem("do", "\"do\" in " + where + " is \"" + *action + "\": it must be alarm, multiple-run, factory-defaults or pause");
      return;
    }
    out_.plan.steps.push_back(std::move(step));
  }

  void readAlarm(TomlTableReader& in, PlanStep& step, bool run) {
    if (std::optional<std::string> name = in.text("format")) {
      if (std::optional<AlarmFormat> format = formatFromPlanName(*name)) step.format = *format;
      else in.problem("format", "\"format\" is \"" + *name + "\": it must be one of " + formatPlanNames());
    } else if (!in.has("format")) {
      in.problem("do", in.where() + " names no \"format\" (" + formatPlanNames() + ")");
    }
    if (run) readRunMessages(in, step);
    else readMessage(in, step);
    readExpectation(in, step);
    step.repeat = ranged(in, "repeat", 1, plan_limits::kMaxRepeat, " times").value_or(1);
    step.wrongOnPurpose = in.flag("wrong_on_purpose").value_or(false);
  }

  void readMessage(TomlTableReader& in, PlanStep& step) {
    const bool text = in.has("message");
    const bool file = in.has("message_file");
    if (text == file) {
      in.problem("do", in.where() + " needs either \"message\" or \"message_file\"" + (text ? ", not both" : ""));
      return;
    }
    std::optional<std::string> message;
    if (text) {
      message = in.text("message");
    } else if (std::optional<std::string> name = in.text("message_file")) {
      message = readMessageFile(in, *name);
    }
    if (!message) return;
    if (message->size() > kMaxMessageChars) {
      in.problem(text ? "message" : "message_file", "the message in " + in.where() + " has " +
                                                      std::to_string(message->size()) + " characters; the edit takes at most 999");
      return;
    }
    step.messages.push_back(*message);
    step.messagePlaces.push_back(in.placeOf(text ? "message" : "message_file"));
  }

  std::optional<std::string> readMessageFile(TomlTableReader& in, const std::string& name) {
    fs::path path = fs::path(name).is_absolute() ? fs::path(name) : baseDir_ / name;
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
      in.problem("message_file", "cannot read the message file " + path.string());
      return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << stream.rdbuf();
    return bytes.str();
  }

  void readRunMessages(TomlTableReader& in, PlanStep& step) {
    const toml::array* messages = in.array("messages");
    if (messages == nullptr) {
      if (!in.has("messages")) in.problem("do", in.where() + ": a multiple run needs \"messages\", 2 to 8 of them");
      return;
    }
    if (messages->size() < plan_limits::kMinRunMessages || messages->size() > plan_limits::kMaxRunMessages) {
      in.problem("messages", "\"messages\" in " + in.where() + " has " + std::to_string(messages->size()) +
                                 ": a multiple run sends 2 to 8");
      return;
    }
    for (const toml::node& node : *messages) {
      if (!node.is_string()) {
        out_.problems.push_back({placeOf(node.source()), "each of \"messages\" in " + in.where() +
                                                             " must be a string, not " + tomlTypeName(node.type())});
        continue;
      }
      step.messages.emplace_back(node.as_string()->get());
      step.messagePlaces.push_back(placeOf(node.source()));
    }
  }

  void readExpectation(TomlTableReader& in, PlanStep& step) {
    Expectation& e = step.expect;
    if (std::optional<std::string> expect = in.text("expect")) {
      if (*expect == "delivered") e.outcome = Expectation::Outcome::kDelivered;
      else if (*expect == "failed") e.outcome = Expectation::Outcome::kFailed;
      else if (*expect == "no-report") e.outcome = Expectation::Outcome::kNoReport;
      else in.problem("expect", "\"expect\" is \"" + *expect + "\": it must be delivered, failed or no-report");
    }
    if (std::optional<std::string> failure = in.text("failure")) {
      if (e.outcome != Expectation::Outcome::kFailed) in.problem("failure", "\"failure\" goes with expect = \"failed\"");
      e.failureText = *failure;
    }
    e.withinSeconds = ranged(in, "within", 1, plan_limits::kMaxWithinSeconds, " seconds").value_or(e.withinSeconds);
  }

  fs::path baseDir_;
  ParsedPlan& out_;
};

}  // namespace

ParsedPlan parsePlanText(std::string_view text, const std::string& fileName, const fs::path& baseDir) {
  ParsedPlan parsed;
  try {
    toml::table root = toml::parse(text, fileName);
    Parser(fileName, baseDir, parsed).read(root);
  } catch (const toml::parse_error& error) {
    parsed.plan.file = fileName;
    parsed.problems.push_back({placeOf(error.source()), "not TOML: " + std::string(error.description())});
  }
  return parsed;
}

ParsedPlan parsePlanFile(const fs::path& file) {
  std::ifstream stream(file, std::ios::binary);
  if (!stream) {
    ParsedPlan parsed;
    parsed.plan.file = file.string();
    parsed.problems.push_back({{}, "cannot read the plan"});
    return parsed;
  }
  std::ostringstream text;
  text << stream.rdbuf();
  return parsePlanText(text.str(), file.string(), file.parent_path());
}
