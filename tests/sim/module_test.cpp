#include "sim/core/module.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/sim_test_helpers.h"

namespace zmsim {
namespace {

using testing::ask;
using testing::runUntil;

TEST(Module, AnswersTheStartUpLinkTestAndRegisterReads) {
  Module module;
  EXPECT_EQ(ask(module, "\r\r\r"), "");
  EXPECT_EQ(ask(module, "R80"), "00");
  EXPECT_EQ(ask(module, "W8055"), "");
  EXPECT_EQ(ask(module, "R80"), "55");
  EXPECT_EQ(ask(module, "R50W5055R50"), "0055");
  EXPECT_EQ(ask(module, "Q82Q83QACQABRB1"), "0A0480" "2004");
}

TEST(Module, WriteChangesTheWorkingValueAndStoreWriteBoth) {
  Module module;
  ask(module, "WAC00");
  EXPECT_EQ(ask(module, "RAC"), "00");
  EXPECT_EQ(ask(module, "QAC"), "80");
  ask(module, "MAC02\r");
  EXPECT_EQ(ask(module, "QACRAC"), "0202");
  ask(module, "WACzz");  // not hex: nothing changes
  EXPECT_EQ(ask(module, "RAC"), "02");
  EXPECT_EQ(ask(module, "rAC"), "");  // lower-case letters start no frame
}

TEST(Module, StoreWriteAcknowledgesOneByteAtATime) {
  Module module;
  EXPECT_EQ(ask(module, "MAB60"), "6");
  EXPECT_EQ(ask(module, "\r"), "0");
  EXPECT_EQ(ask(module, "\r"), "");  // the PC answers the second byte too
  EXPECT_EQ(module.registers().stored(0xAB), 0x60);

  // The poll tick's M82 is never answered: the next frame drops the second byte.
  EXPECT_EQ(ask(module, "M820A"), "0");
  EXPECT_EQ(ask(module, "Q82"), "0A");
  EXPECT_EQ(ask(module, "\r"), "");
}

TEST(Module, StoreWriteOfATypedNonHexValueChangesNothing) {
  Module module;
  EXPECT_EQ(ask(module, std::string("M831\0", 5)), "?");
  EXPECT_EQ(ask(module, "\r"), "?");
  EXPECT_EQ(module.registers().stored(0x83), 0x04);
  EXPECT_EQ(ask(module, "M831E\r"), "1E");
  EXPECT_EQ(module.registers().stored(0x83), 0x1E);
}

// Everything the module sends while the PC types `keys` one byte every gapMs from
// startMs, as terminal mode does (a key a tick), with the module's time moving on.
std::string typedSlowly(Module& module, std::string_view keys, std::int64_t startMs, int gapMs) {
  std::string out;
  std::int64_t now = startMs;
  for (char key : keys) {
    out += testing::joined(runUntil(module, now));
    module.advance(now);
    out += module.takeOutput();
    out += ask(module, std::string_view(&key, 1), now);
    now += gapMs;
  }
  return out;
}

TEST(Module, AFrameTypedAKeyATimeIsAnsweredLikeOneSentAtOnce) {
  // Queries, a stored write with its acknowledgement, the F1 memory, number and message:
  // a key every 100 ms, or far longer, changes nothing of what the module answers.
  const std::string keys = "R80Q82MAB60\r\rW8012R80KD041D5551234\rS123418113101015\r";
  Module atOnce;
  const std::string expected = ask(atOnce, keys);
  EXPECT_EQ(expected, "000A6012");
  for (int gapMs : {100, 5000}) {
    Module typed;
    EXPECT_EQ(typedSlowly(typed, keys, 1000, gapMs) + testing::joined(runUntil(typed, 600000)),
              expected)
        << gapMs;
    EXPECT_EQ(typed.registers().dump(), atOnce.registers().dump()) << gapMs;
    EXPECT_FALSE(typed.nextEventMs()) << gapMs;
  }
}

TEST(Module, WithAFrameTimeOutAnIncompleteQueryIsAnsweredOnceWhenTheLineGoesQuiet) {
  ModuleOptions options;
  options.frameTimeoutMs = 40;
  Module module(options);
  EXPECT_EQ(ask(module, "\rR8", 1000), "");
  EXPECT_EQ(module.nextEventMs(), 1040);
  module.advance(1039);
  EXPECT_EQ(module.takeOutput(), "");
  module.advance(1040);
  EXPECT_EQ(module.takeOutput(), "?\r");
  module.advance(5000);
  EXPECT_EQ(module.takeOutput(), "");
  EXPECT_FALSE(module.nextEventMs());
  // A slow typist finishes the frame, or the PC goes on with its next query.
  EXPECT_EQ(ask(module, "0", 6000), "00");
  EXPECT_EQ(ask(module, "R8Q82", 7000), "0A");
}

TEST(Module, FactoryDefaultsNeedTheKeyInRegister87) {
  Module module;
  ask(module, "MAB64\r\rM8214\r\rW7F08D5551234\rKD041");
  EXPECT_EQ(ask(module, "X"), "");  // not armed
  EXPECT_EQ(module.registers().stored(0xAB), 0x64);

  // The PC's factory-default sequence.
  std::string out = ask(module, "\rW8755\rX");
  EXPECT_EQ(out, "DEFAULTS RESTORED\r\n");
  const RegisterMap& r = module.registers();
  EXPECT_EQ(r.stored(0x82), 0x0A);
  EXPECT_EQ(r.stored(0xAB), 0x20);
  EXPECT_EQ(r.working(0x87), 0x00);
  EXPECT_EQ(r.number(), "");
  EXPECT_EQ(r.memory(0), 0);
  ask(module, "\r\rS123418313101015\rD2\rW7F00");
  EXPECT_EQ(r.message(), "123418313101015");
  EXPECT_EQ(r.number(), "2");
  EXPECT_EQ(ask(module, "X"), "");  // disarmed by the reset
}

TEST(Module, MessageMemoryTakesOnlyD0ToDD) {
  Module module;
  ask(module, "KD041KD142KDD43KDE44KCF45KD2zz");
  const RegisterMap& r = module.registers();
  EXPECT_EQ(r.memory(0), 0x41);
  EXPECT_EQ(r.memory(1), 0x42);
  EXPECT_EQ(r.memory(13), 0x43);
  EXPECT_EQ(r.memory(2), 0x00);
  EXPECT_EQ(r.memoryMessage(), "AB");
}

// The same bytes split in two at any point, the pieces a moment apart, give the same
// frames, answers and registers.
TEST(Module, FramesSplitAtEveryByteBoundaryGiveTheSameResult) {
  std::string line = std::string("\r\r\rR80W8055R80Q82Q83QACQABRB1\rMAB60\r\r\rW3D01WAC81\r") +
                     "W7F01\r\rD5551234\r\rKD041KD142\rW3D00S12345\rD12345678901234567" +
                     std::string("M831\0", 5) + "\r\rMB104WB104W8755\rX\r\rS123418313101015\rD2";
  auto run = [&](std::size_t split) {
    Module module;
    std::vector<std::string> frames;
    module.setFrameSink([&](const Frame& f, std::int64_t) { frames.push_back(f.bytes); });
    module.receive(std::string_view(line).substr(0, split), 100);
    std::string out = module.takeOutput();
    module.receive(std::string_view(line).substr(split), 110);
    out += module.takeOutput();
    return std::make_tuple(frames, out, module.registers().dump());
  };
  auto whole = run(line.size());
  EXPECT_EQ(std::get<1>(whole), "0055" "0A048020" "04" "60" "??" "0" "DEFAULTS RESTORED\r\n");
  for (std::size_t split = 0; split < line.size(); ++split) {
    EXPECT_EQ(run(split), whole) << "split at " << split;
  }
}

}  // namespace
}  // namespace zmsim
