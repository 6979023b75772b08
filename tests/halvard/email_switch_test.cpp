#include <string>

#include "halvard_fixture.h"

using namespace halvard_ids;

class HalvardEmailSwitch : public HalvardFixture {
 protected:
  void startWithFlag(const std::string& content) {
    makeFolders();
    dir.write("programEmail/programflag.txt", content);
    start();
  }
  std::string flagFile() const { return dir.read("programEmail/programflag.txt"); }
};

TEST_F(HalvardEmailSwitch, EachClickTogglesTheFileAndTheButton) {
  startWithFlag("E");
  ASSERT_TRUE(panel.checked(kEnableEmail));

  click(kEnableEmail);
  EXPECT_EQ(flagFile(), "D");
  EXPECT_FALSE(panel.checked(kEnableEmail));
  EXPECT_EQ(dlg.emailSwitch, 0);
  EXPECT_EQ(dlg.enableEmail, 1);

  click(kEnableEmail);
  EXPECT_EQ(flagFile(), "E");
  EXPECT_TRUE(panel.checked(kEnableEmail));
  EXPECT_EQ(dlg.emailSwitch, 1);
  EXPECT_EQ(dlg.enableEmail, 0);
}

TEST_F(HalvardEmailSwitch, OnlyTheFirstByteIsRewritten) {
  startWithFlag("ENABLED");
  ASSERT_TRUE(panel.checked(kEnableEmail));
  click(kEnableEmail);
  EXPECT_EQ(flagFile(), "DNABLED");

  FakeControlPanel nextPanel;
  CHalvardDlg next(CHalvardDlg::Environment{mainPort, secondPort, clock, nextPanel, status, dir.path()});
  next.startUp();
  EXPECT_FALSE(nextPanel.checked(kEnableEmail));
}

TEST_F(HalvardEmailSwitch, MissingFlagFileIsCreatedEmptyAndFirstClickTurnsOn) {
  dir.makeDir("programEmail");
  start();
  ASSERT_TRUE(dir.exists("programEmail/programflag.txt"));
  EXPECT_EQ(flagFile(), "");
  EXPECT_FALSE(panel.checked(kEnableEmail));

  click(kEnableEmail);
  EXPECT_EQ(flagFile(), "E");
  EXPECT_TRUE(panel.checked(kEnableEmail));
}

TEST_F(HalvardEmailSwitch, WithoutTheFolderTheButtonStillTogglesButNothingIsStored) {
  start();
  click(kEnableEmail);
  EXPECT_TRUE(panel.checked(kEnableEmail));
  click(kEnableEmail);
  EXPECT_FALSE(panel.checked(kEnableEmail));
  EXPECT_FALSE(dir.exists("programEmail"));
}
