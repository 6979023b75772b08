#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "common/status_line.h"

class CHalvardDlg;

// The checks of the fields that can be proven before any e-mail is sent, run as the
// operator types and told on the status line only: what is saved stays as typed.
// - FROM ADDRESS, TO ADDRESS, SECOND TO EMAIL ADDRESS (and SENDER when it holds an '@')
//   need a user and a domain: "user@example.com".
// - WAVEFILE PLAYING LENGTH IN SECOND is a whole number of seconds.
// - WAVEFILE names a RIFF/WAVE file (relative names from the working directory): its
//   length is told, and whether the playing length is longer than the sound.
// A field's verdict is told when it changes, so typing an address letter by letter
// says "not an address" once, and "looks right" once it is one.
class FieldChecks {
 public:
  void afterEdit(int id, const CHalvardDlg& dlg, StatusLine& status);

  // "" when the address has a user and a domain; else why not.
  static std::string addressProblem(std::string_view address);
  // "" when the text is a whole number of seconds (or empty); else why not.
  static std::string lengthProblem(std::string_view text);
  // What the WAVEFILE field names, with the playing length held against it.
  static std::string waveVerdict(const std::string& waveFile, const std::string& waveLength,
                                 const std::filesystem::path& workDir);

 private:
  void tell(int id, const std::string& label, const std::string& problem, StatusLine& status);

  std::map<int, std::string> told_;  // control -> the problem last told ("" none)
};
