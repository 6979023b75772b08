#include "common/data_exchange.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_control_panel.h"

namespace {

// Records which control each exchange step touched and whether the exchange said
// it was running at that moment, as a notification entry point would ask.
class RecordingPanel : public FakeControlPanel {
 public:
  const DataExchange* exchange = nullptr;
  std::vector<int> visited;
  bool sawOutsideExchange = false;

  void forgetSetup() {
    visited.clear();
    sawOutsideExchange = false;
  }

  std::string text(int id) const override {
    note(id);
    return FakeControlPanel::text(id);
  }
  void setText(int id, const std::string& text) override {
    note(id);
    FakeControlPanel::setText(id, text);
  }
  bool checked(int id) const override {
    note(id);
    return FakeControlPanel::checked(id);
  }
  void setChecked(int id, bool on) override {
    note(id);
    FakeControlPanel::setChecked(id, on);
  }

 private:
  void note(int id) const {
    auto* self = const_cast<RecordingPanel*>(this);
    self->visited.push_back(id);
    if (exchange == nullptr || !exchange->exchanging()) self->sawOutsideExchange = true;
  }
};

class DataExchangeTest : public ::testing::Test {
 protected:
  DataExchangeTest() {
    panel.exchange = &exchange;
    exchange.bindText(1011, commport);
    exchange.bindSelection(1004, contactId);
    exchange.bindText(1039, kissoff, 2);
    exchange.bindText(1038, dialerTimeout);
    exchange.bindSelection(1005, sia);
  }

  RecordingPanel panel;
  DataExchange exchange{panel};
  std::string commport = "COM3:";
  int contactId = 0;
  std::string kissoff = "0A";
  std::string dialerTimeout = "3C";
  int sia = -1;
};

TEST_F(DataExchangeTest, LoadShowsFieldsInTableOrderAndLimitsTheEdit) {
  EXPECT_FALSE(exchange.exchanging());
  exchange.load();
  EXPECT_FALSE(exchange.exchanging());
  EXPECT_FALSE(panel.sawOutsideExchange);
  EXPECT_EQ(panel.visited, (std::vector<int>{1011, 1004, 1039, 1038, 1005}));
  EXPECT_EQ(panel.text(1011), "COM3:");
  EXPECT_EQ(panel.text(1039), "0A");
  EXPECT_TRUE(panel.checked(1004));
  EXPECT_FALSE(panel.checked(1005));
  EXPECT_EQ(panel.textLimit(1039), 2);
  EXPECT_EQ(panel.textLimit(1038), 0);
}

TEST_F(DataExchangeTest, OnlyZeroShowsASelectionSelected) {
  contactId = 1;
  sia = 0;
  exchange.load();
  EXPECT_FALSE(panel.checked(1004));
  EXPECT_TRUE(panel.checked(1005));
}

TEST_F(DataExchangeTest, StoreTakesControlsInTableOrderAndWritesZeroOrMinusOne) {
  panel.replaceText(1011, "COM5:");
  panel.replaceText(1039, "1E");
  panel.replaceText(1038, "");
  panel.setChecked(1004, false);
  panel.click(1005);
  contactId = 1;
  panel.forgetSetup();

  EXPECT_TRUE(exchange.store());
  EXPECT_FALSE(exchange.exchanging());
  EXPECT_FALSE(panel.sawOutsideExchange);
  EXPECT_EQ(panel.visited, (std::vector<int>{1011, 1004, 1039, 1038, 1005}));
  EXPECT_EQ(commport, "COM5:");
  EXPECT_EQ(kissoff, "1E");
  EXPECT_EQ(dialerTimeout, "");
  EXPECT_EQ(contactId, -1);
  EXPECT_EQ(sia, 0);
  EXPECT_TRUE(panel.messages().empty());
}

TEST_F(DataExchangeTest, ThirdCharacterFailsTheStoreAndKeepsLaterFields) {
  panel.replaceText(1011, "COM7:");
  panel.replaceText(1039, "1E0");
  panel.replaceText(1038, "FF");
  panel.click(1005);

  EXPECT_FALSE(exchange.store());
  EXPECT_FALSE(exchange.exchanging());
  EXPECT_EQ(panel.messages(), std::vector<std::string>{"Please enter no more than 2 characters."});
  EXPECT_EQ(panel.focus(), 1039);
  EXPECT_EQ(commport, "COM7:");  // before the failing control: stored
  EXPECT_EQ(kissoff, "0A");
  EXPECT_EQ(dialerTimeout, "3C");
  EXPECT_EQ(sia, -1);

  panel.replaceText(1039, "1E");
  EXPECT_TRUE(exchange.store());
  EXPECT_EQ(panel.messages().size(), 1u);
  EXPECT_EQ(dialerTimeout, "FF");
  EXPECT_EQ(sia, 0);
}

}  // namespace
