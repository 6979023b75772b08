#include "corvane_fixture.h"

// The fixture's own wiring: a dialog built on the fakes exchanges its fields with the
// control map in both directions.
TEST_F(CorvaneFixture, ExchangeMovesFieldsToControlsAndBack) {
  dlg.telephoneNumber = "5551234";
  dlg.contactIdSelected = 0;
  dlg.loadControls();
  EXPECT_EQ(panel.text(corvane_ids::kTelephoneNumber), "5551234");
  EXPECT_TRUE(panel.checked(corvane_ids::kContactId));
  EXPECT_FALSE(panel.checked(corvane_ids::kFskF1));

  panel.replaceText(corvane_ids::kAlarmMessage2, "abc");
  ASSERT_TRUE(dlg.storeControls());
  EXPECT_EQ(dlg.alarmMessage2, "abc");
  EXPECT_EQ(dlg.fskF1Selected, -1);
}
