#pragma once

// Where a multiple run of up to eight alarm messages stands, from one poll tick to the
// next. A plain value.
class MultipleRunState {
 public:
  static constexpr int kMessages = 8;

  int runRemaining = 0;  // 0: no run under way
  int runIndex = 0;      // the number of the message being sent, 1 to 8; 9 ends the run

  // A run starts with message 1 (from the edit), whatever stood before.
  void start() {
    runRemaining = kMessages;
    runIndex = 1;
  }
  bool underWay() const { return runRemaining != 0; }
  // A delivery report has come: one message fewer to go, on to the next number.
  void advance() {
    runRemaining = runRemaining > 0 ? runRemaining - 1 : 0;
    ++runIndex;
  }
  // Message 8 has just been reported delivered.
  bool lastWasDelivered() const { return runIndex == kMessages + 1; }
  bool pastLastMessage() const { return runIndex > kMessages; }
  void end() { runRemaining = 0; }
};
