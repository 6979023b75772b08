#include "corvane_fixture.h"

using namespace corvane_ids;

class ProtocolSelectionTest : public CorvaneFixture {
 protected:
  void SetUp() override { openModule(); }
};

TEST_F(ProtocolSelectionTest, EachButtonSelectsItsFormatAloneAfter200msWithoutSending) {
  struct Case {
    int id;
    char code;
    int CCorvaneDlg::*field;
  };
  const Case cases[] = {{kContactId, '0', &CCorvaneDlg::contactIdSelected},
                        {kFskF1, '1', &CCorvaneDlg::fskF1Selected},
                        {kPulse4x2, '2', &CCorvaneDlg::pulse4x2Selected},
                        {kFskF2, '8', &CCorvaneDlg::fskF2Selected}};
  for (const Case& c : {cases[3], cases[1], cases[2], cases[0], cases[0]}) {
    SCOPED_TRACE(c.id);
    clearWire();
    dlg.flags.protocolChanged = 0;
    click(c.id);
    EXPECT_EQ(dlg.protocolCode, c.code);
    EXPECT_EQ(dlg.flags.protocolChanged, 1);
    EXPECT_EQ(clock.pauses(), std::vector<int>{200});
    EXPECT_TRUE(sentBytes().empty());
    for (const Case& other : cases) {
      EXPECT_EQ(dlg.*other.field, other.id == c.id ? 0 : 1);
      EXPECT_EQ(panel.checked(other.id), other.id == c.id);
    }
  }
}

TEST_F(ProtocolSelectionTest, ClickTakesTheControlsFirst) {
  panel.replaceText(kTelephoneNumber, "5550000");
  click(kFskF1);
  EXPECT_EQ(panel.text(kTelephoneNumber), "5550000");
}

TEST_F(ProtocolSelectionTest, ReclickRewritesTheSavedCodeAtTheNextTick) {
  dlg.terminalSelected = 1;
  click(kFskF2);
  tick();
  EXPECT_EQ(dir.read("protocol2"), "8");
  dir.write("protocol2", "0junk");
  click(kFskF2);
  EXPECT_EQ(dir.read("protocol2"), "0junk");
  tick();
  EXPECT_EQ(dir.read("protocol2"), "8");
}
