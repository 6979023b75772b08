#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The "message received" display (control 1003): its text and the counts by which the
// poll tick wraps what the module sends into lines of 25 characters, keeps the text
// near 30 lines and forces a line break after a long run of received characters. A
// plain value: every method works on the text alone, with no port and no control.
class ReceivedDisplay {
 public:
  static constexpr int kWrapColumns = 25;
  static constexpr int kMaxLines = 30;
  static constexpr std::size_t kTrimWindowChars = 1000;
  static constexpr int kForcedBreakChars = 140;
  // Terminal mode wraps and trims nothing, so its text is capped instead (see
  // capTerminalText()).
  static constexpr std::size_t kTerminalMaxChars = 64 * 1024;
  // A full terminal display drops this much more than it must, so that its head is
  // cut once every few hundred ticks rather than at every tick: each cut makes the
  // control lay out and redraw its whole text, where an append only scrolls it.
  static constexpr std::size_t kTerminalTrimChars = 4 * 1024;
  // The normal display is kept near 30 lines by the trim, which counts only the lines
  // of received text; what the handlers show besides is held within this.
  static constexpr std::size_t kNormalMaxChars = 4 * 1024;

  std::string receivedText;  // the display's text, bound to control 1003
  // Lines of the display: the line ends added by showReceived() and breakLongRun(),
  // and the notices; after a trim, the line ends the text holds. Never above INT_MAX.
  int lineCount = 0;
  int columnCount = 0;       // characters shown by showReceived() since the last line end
  int charsSinceBreak = 0;   // received characters since the last forced break

  // Appends text as it stands: what a handler sent, a message, the echo of a key.
  void show(std::string_view text) { receivedText += text; }
  void show(char c) { receivedText += c; }
  // Shows a notice of the program's own ("error: communication timeout") as it
  // stands, with no line end, and counts it as a line: repeated for days with no
  // module, it is trimmed away like lines are.
  void showNotice(std::string_view text);

  // Counts received characters towards the forced break.
  void countReceived(std::size_t n) { charsSinceBreak += static_cast<int>(n); }

  // Shows what the module sent, wrapped: its LF bytes are dropped, every CR is followed
  // by an LF of our own, and CR LF follows the 25th character of a line (a received CR
  // counts as a character), since the module's line ends vary with its firmware.
  void showReceived(std::string_view bytes);

  // With more than 30 lines, drops the oldest one: everything up to and including the
  // first LF after the first character, within the first 1000 characters. When there
  // is none there, or what is left is 1000 characters or more, the text is emptied.
  // One line at most per call; returns whether it removed one. The count is then
  // that of the line ends left, so a burst of lines the trim emptied in one go does
  // not go on removing the lines that come after it.
  bool trimOldestLine();

  // After more than 140 received characters since the last break: CR LF, a line.
  void breakLongRun();

  // Normal mode: drops text from the front, from a line start where one is near,
  // until the text fits kNormalMaxChars; the count is then that of the line ends left.
  void capNormalText();

  // Terminal mode: bytes shown exactly as the module sent them, and counted.
  void showRaw(std::string_view bytes);
  // Once the terminal-mode text is over its cap (less room for the CR LF of a forced
  // break), drops text from the front until it is kTerminalTrimChars under that,
  // cutting just after a line end when one follows the cut closely, so the display
  // starts with a whole line. Below the cap nothing is dropped.
  void capTerminalText();

 private:
  void countLine();
  void recountLines();
  // Drops text from the front until at most keep characters are left.
  void keepAtMost(std::size_t keep);
};
