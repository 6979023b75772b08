#include "sim/core/frame_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zmsim {
namespace {

std::vector<Frame> parseAll(std::string_view bytes, FrameParser& parser) {
  std::vector<Frame> frames;
  for (char c : bytes) parser.feed(c, frames);
  return frames;
}

std::vector<Frame> parseAll(std::string_view bytes) {
  FrameParser parser;
  return parseAll(bytes, parser);
}

std::vector<std::string> bytesOf(const std::vector<Frame>& frames) {
  std::vector<std::string> out;
  for (const Frame& f : frames) out.push_back(f.bytes);
  return out;
}

TEST(FrameParser, SplitsTheFramesOfATransmission) {
  std::string line = std::string("\rW3D01WAC81\rW7F00\r\rD5551234\rS123418313101015\rW3D00G") +
                     "R80Q82KD041BAX";
  std::vector<Frame> frames = parseAll(line);
  EXPECT_EQ(bytesOf(frames),
            (std::vector<std::string>{"\r", "W3D01", "WAC81", "\r", "W7F00", "\r", "\r",
                                      "D5551234\r", "S123418313101015\r", "W3D00", "G", "R80",
                                      "Q82", "KD041", "B", "A", "X"}));
  EXPECT_EQ(frames[2].kind, FrameKind::Write);
  EXPECT_EQ(frames[2].reg(), "AC");
  EXPECT_EQ(frames[2].value(), "81");
  EXPECT_EQ(frames[7].kind, FrameKind::Number);
  EXPECT_EQ(frames[7].text(), "5551234");
  EXPECT_EQ(frames[8].kind, FrameKind::Message);
  EXPECT_EQ(frames[12].kind, FrameKind::Query);
  EXPECT_EQ(frames[13].kind, FrameKind::MemoryWrite);
  EXPECT_EQ(frames[16].kind, FrameKind::Reset);
}

TEST(FrameParser, NumberEndsByItselfAfterSixteenDigits) {
  std::vector<Frame> frames = parseAll("D12345678901234567\r");
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].kind, FrameKind::Number);
  EXPECT_EQ(frames[0].text(), "1234567890123456");
  EXPECT_EQ(frames[1].kind, FrameKind::Unknown);
  EXPECT_EQ(frames[1].bytes, "7");
  EXPECT_EQ(frames[2].kind, FrameKind::LoneCr);

  frames = parseAll("D2\r");
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].text(), "2");
}

TEST(FrameParser, ValueCharactersAreTakenAsTheyCome) {
  // Edit 1039 with one character sends it and a zero byte; a CR as a value is a byte too.
  std::vector<Frame> frames = parseAll(std::string("M831\0W82\r5", 10));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].kind, FrameKind::StoreWrite);
  EXPECT_EQ(frames[0].value(), std::string("1\0", 2));
  EXPECT_EQ(frames[1].value(), "\r5");
}

TEST(FrameParser, NonHexRegisterCharacterCutsTheFrameAndStartsTheNext) {
  // The PC's 115200 baud link test sends only "R8"; the register reads follow.
  std::vector<Frame> frames = parseAll("R8Q82W\rR80");
  ASSERT_EQ(frames.size(), 5u);
  EXPECT_EQ(frames[0].kind, FrameKind::Incomplete);
  EXPECT_EQ(frames[0].bytes, "R8");
  EXPECT_EQ(frames[1].bytes, "Q82");
  EXPECT_EQ(frames[2].kind, FrameKind::Incomplete);
  EXPECT_EQ(frames[2].bytes, "W");
  EXPECT_EQ(frames[3].kind, FrameKind::LoneCr);
  EXPECT_EQ(frames[4].bytes, "R80");
}

TEST(FrameParser, MessageKeepsZeroPaddingAndBoundsItsLength) {
  std::vector<Frame> frames = parseAll(std::string("S12\0\0\0\0\r", 8));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].text(), std::string("12\0\0\0\0", 6));

  FrameParser parser;
  std::string noise = "S" + std::string(1000, '7');
  EXPECT_TRUE(parseAll(noise, parser).empty());
  EXPECT_EQ(parser.partialBytes().size(), FrameParser::kMaxKeptBytes);
  EXPECT_EQ(parser.droppedBytes(), 1001 - FrameParser::kMaxKeptBytes);
  EXPECT_EQ(parseAll("\r", parser).size(), 1u);
  EXPECT_FALSE(parser.midFrame());
}

TEST(FrameParser, AbandonReturnsThePartialFrame) {
  FrameParser parser;
  parseAll("Q8", parser);
  EXPECT_TRUE(parser.midQuery());
  Frame cut = parser.abandon();
  EXPECT_EQ(cut.kind, FrameKind::Incomplete);
  EXPECT_EQ(cut.bytes, "Q8");
  EXPECT_FALSE(parser.midFrame());
  EXPECT_TRUE(parser.abandon().bytes.empty());
}

TEST(FrameParser, AnyByteSequenceKeepsEveryByteInSomeFrame) {
  // Every byte the PC sends ends up in exactly one frame (or in the partial one), so
  // the log never hides a byte.
  std::string bytes;
  unsigned state = 12345;
  for (int i = 0; i < 20000; ++i) {
    state = state * 1103515245u + 12345u;
    const char alphabet[] = "RQWMKSDGBAX\r\n0123456789ABCDEFz\x00\xff";
    bytes += alphabet[(state >> 16) % (sizeof alphabet - 1)];
  }
  FrameParser parser;
  std::size_t total = 0;
  for (const Frame& f : parseAll(bytes, parser)) total += f.bytes.size();
  EXPECT_EQ(total + parser.partialBytes().size() + parser.droppedBytes(), bytes.size());
}

TEST(FrameHelpers, EscapeAndHex) {
  EXPECT_EQ(escapeBytes(std::string("S1\r\n\0<", 6)), "S1<CR><LF><00><3C>");
  EXPECT_EQ(hexPairValue("0A"), 10);
  EXPECT_EQ(hexPairValue("fF"), 255);
  EXPECT_EQ(hexPairValue(std::string("1\0", 2)), -1);
  EXPECT_EQ(hexPair(0xD0), "D0");
}

}  // namespace
}  // namespace zmsim
