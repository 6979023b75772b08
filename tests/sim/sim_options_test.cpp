#include "sim/core/sim_options.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(o.module.outcomes, std::vector<Outcome>{Outcome::NoKissoff});
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
  for (const char* list : {"deliver,", ",deliver", "deliver;no-answer"}) {
    EXPECT_FALSE(parseSimOptions({"--outcomes", list}).options) << list;
  }
}

TEST(SimOptions, OutcomesAreOneACallTheLastRepeated) {
  ParsedArgs parsed = parseSimOptions({"--outcomes", "deliver,no-answer,unplug", "--frame-timeout-ms", "40"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  const ModuleOptions& m = parsed.options->module;
  EXPECT_EQ(m.outcomeOfCall(1), Outcome::NoAnswer);
  EXPECT_EQ(m.outcomeOfCall(99), Outcome::Unplug);
  EXPECT_EQ(m.frameTimeoutMs, 40);
  EXPECT_EQ(parseSimOptions({}).options->module.frameTimeoutMs, -1);
}

TEST(SimOptions, LogSizeReplugAndVersion) {
  ParsedArgs parsed = parseSimOptions({"--log-max-bytes", "512K", "--replug-after", "300:1500"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->logMaxBytes, 512u * 1024u);
  EXPECT_EQ(parsed.options->replugAfterMs, 300);
  EXPECT_EQ(parsed.options->replugGoneMs, 1500);

  parsed = parseSimOptions({"--log-max-bytes", "65536", "--replug-after", "0"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->logMaxBytes, 65536u);
  EXPECT_EQ(parsed.options->replugGoneMs, SimOptions::kDefaultReplugGoneMs);
  ParsedArgs defaults = parseSimOptions({});
  EXPECT_EQ(defaults.options->logMaxBytes, 10u * 1024u * 1024u);
  EXPECT_EQ(defaults.options->replugAfterMs, -1);

  for (auto args : std::vector<std::vector<std::string>>{
           {"--log-max-bytes", "100"}, {"--log-max-bytes", "10X"}, {"--log-max-bytes", "M"},
           {"--log-max-bytes", "99999999G"}, {"--replug-after", "300:"}, {"--replug-after", ":5"},
           {"--replug-after", "1:2:3"}, {"--unplug-after", "5", "--replug-after", "5"}}) {
    EXPECT_FALSE(parseSimOptions(args).options) << args[0] << " " << args[1];
  }

  ParsedArgs version = parseSimOptions({"--baud", "9600", "--version", "--frobnicate"});
  EXPECT_TRUE(version.version);
  EXPECT_FALSE(version.options);
  EXPECT_EQ(simVersion().rfind("zmsim ", 0), 0u);
  EXPECT_EQ(simVersion().back(), '\n');
  EXPECT_NE(simUsage().find("--log-max-bytes N"), std::string::npos);
  EXPECT_NE(simUsage().find("--replug-after MS[:GONE_MS]"), std::string::npos);
}

}  // namespace
}  // namespace zmsim
