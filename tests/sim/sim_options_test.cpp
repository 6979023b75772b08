#include "sim/core/sim_options.h"

#include <gtest/gtest.h>

#include "sim/core/protocol_log.h"

namespace zmsim {
namespace {

TEST(SimOptions, ParsesEveryOption) {
  ParsedArgs parsed = parseSimOptions({"--link", "d/ports/COM3", "--baud", "115200", "--outcome",
                                       "no-kissoff", "--call-ms", "1500", "--nul-before-report",
                                       "--split-report", "--flood", "--unplug-after", "700",
                                       "--log", "sim.log", "--exit-when-closed"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  const SimOptions& o = *parsed.options;
  EXPECT_EQ(o.link, "d/ports/COM3");
  EXPECT_EQ(o.baud, 115200);
  EXPECT_EQ(o.module.outcome, Outcome::NoKissoff);
  EXPECT_EQ(o.module.callLengthMs, 1500);
  EXPECT_TRUE(o.module.faults.nulBeforeReport && o.module.faults.splitReport && o.module.faults.flood);
  EXPECT_EQ(o.unplugAfterMs, 700);
  EXPECT_EQ(o.logFile, "sim.log");
  EXPECT_TRUE(o.exitWhenClosed);

  ParsedArgs defaults = parseSimOptions({});
  ASSERT_TRUE(defaults.options);
  EXPECT_EQ(defaults.options->baud, 9600);
  EXPECT_EQ(defaults.options->unplugAfterMs, -1);
  EXPECT_TRUE(defaults.options->link.empty());
}

TEST(SimOptions, RejectsWhatItCannotDo) {
  for (auto args : std::vector<std::vector<std::string>>{
           {"--baud", "19200"}, {"--baud"}, {"--outcome", "maybe"}, {"--call-ms", "5x"},
           {"--call-ms", "10"}, {"--unplug-after", "-1"}, {"--frobnicate"}, {"--link", ""}}) {
    ParsedArgs parsed = parseSimOptions(args);
    EXPECT_FALSE(parsed.options) << args[0];
    EXPECT_FALSE(parsed.error.empty()) << args[0];
  }
  EXPECT_TRUE(parseSimOptions({"--help"}).help);
}

TEST(ProtocolLog, LinesParseBack) {
  std::string line = formatLogLine(1234, "rx W8055");
  EXPECT_EQ(line, "    1234 ms  rx W8055");
  std::optional<LogLine> parsed = parseLogLine(line);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->ms, 1234);
  EXPECT_EQ(parsed->kind, "rx");
  EXPECT_EQ(parsed->text, "W8055");
  parsed = parseLogLine(formatLogLine(123456789, "end"));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->ms, 123456789);
  EXPECT_EQ(parsed->kind, "end");
  EXPECT_EQ(parsed->text, "");
  EXPECT_FALSE(parseLogLine("garbage"));
  EXPECT_FALSE(parseLogLine("  12x ms  rx G"));
}

}  // namespace
}  // namespace zmsim
