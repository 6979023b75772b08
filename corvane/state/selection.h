#pragma once

// A radio button's field as the data exchange keeps it: 0 shows the button selected,
// any other value shows it clear (handlers write 1, the dialog starts at -1). The
// logic reads and writes meanings through these; the integers stay in the exchange.
constexpr bool shownSelected(int selection) { return selection == 0; }
constexpr int selectionShowing(bool selected) { return selected ? 0 : 1; }

// The fields of the four reporting format buttons (1014, 1041, 1016, 1015), read by
// meaning. The fields are the dialog's and must outlive this.
class FormatButtons {
 public:
  FormatButtons(int& contactId, int& fskF1, int& pulse4x2, int& fskF2)
      : contactId_(contactId), fskF1_(fskF1), pulse4x2_(pulse4x2), fskF2_(fskF2) {}

  bool contactIdShown() const { return shownSelected(contactId_); }
  bool fskF1Shown() const { return shownSelected(fskF1_); }
  bool pulse4x2Shown() const { return shownSelected(pulse4x2_); }
  bool fskF2Shown() const { return shownSelected(fskF2_); }

  // The button of a protocol code ('0', '1', '2', '8') shown selected and the others
  // clear; false for any other code, which changes nothing.
  bool showOnly(char code);
  // The format buttons as start-up shows a code read from "./protocol2": that code's
  // button alone; an unknown code shows Contact-ID and leaves FSK F2 at its start value.
  void showStored(char code);

 private:
  int& contactId_;
  int& fskF1_;
  int& pulse4x2_;
  int& fskF2_;
};
