#include <string>

#include "corvane_fixture.h"

using namespace corvane_ids;

class HexConversionTest : public CorvaneFixture {
 protected:
  // The operator puts hex into 1028 (its edit stores it), then clicks the button.
  std::string convert(const std::string& hex) {
    replaceText(kHexMessage, hex);
    click(kHexToAscii);
    EXPECT_EQ(panel.text(kAsciiMessage), dlg.asciiMessage);
    return dlg.asciiMessage;
  }
};

TEST_F(HexConversionTest, PairsBecomeCharacters) {
  EXPECT_EQ(convert("41424344"), "ABCD");
  EXPECT_EQ(convert("48656C6C6F"), "Hello");
  EXPECT_EQ(convert("41"), "A");
  // Lower-case digits count like upper-case ones.
  EXPECT_EQ(convert("4a"), "J");
  EXPECT_EQ(convert("6c6C"), "ll");
}

TEST_F(HexConversionTest, ZeroByteEndsTheText) {
  EXPECT_EQ(convert("410042"), "A");
  // A zero as the first byte is shown, and the text goes on after it.
  EXPECT_EQ(convert("0041"), std::string("\0A", 2));
  EXPECT_EQ(convert("00"), std::string(1, '\0'));
  EXPECT_EQ(convert("00410042"), std::string("\0A", 2));
}

TEST_F(HexConversionTest, OddEmptyAndOverlongInput) {
  EXPECT_EQ(convert("41424"), "AB");  // the lone last digit has no partner
  EXPECT_EQ(convert("4"), "");
  EXPECT_EQ(convert(""), "");
  EXPECT_EQ(panel.text(kAsciiMessage), "");

  // Only the first 99 characters count: 49 whole pairs, the 99th digit alone.
  std::string hex;
  for (int i = 0; i < 60; ++i) hex += "42";
  EXPECT_EQ(convert(hex), std::string(49, 'B'));
}

TEST_F(HexConversionTest, EachClickReplacesTheEarlierText) {
  EXPECT_EQ(convert("48656C6C6F"), "Hello");
  click(kHexToAscii);
  EXPECT_EQ(panel.text(kAsciiMessage), "Hello");
  EXPECT_EQ(convert("4142"), "AB");
}

TEST_F(HexConversionTest, FieldFillsCharacterByCharacterWithoutTouchingTheModule) {
  openModule();
  replaceText(kHexMessage, "414243");
  const int before = panel.setTextCount(kAsciiMessage);
  click(kHexToAscii);
  EXPECT_EQ(panel.setTextCount(kAsciiMessage) - before, 3);
  EXPECT_EQ(sentBytes(), "");
  EXPECT_TRUE(clock.pauses().empty());
}

TEST_F(HexConversionTest, ConversionUsesTheLastStoredHexNotTheControl) {
  replaceText(kHexMessage, "41");
  panel.replaceText(kHexMessage, "42");  // no notification reached the dialog
  click(kHexToAscii);
  EXPECT_EQ(panel.text(kAsciiMessage), "A");
}
