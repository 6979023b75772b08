#include "halvard/test_email/secret_mask.h"

#include <cctype>

namespace {

bool startsWithWord(std::string_view line, std::string_view word) {
  if (line.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(line[i])) != word[i]) return false;
  }
  return line.size() == word.size() || line[word.size()] == ' ';
}

}  // namespace

std::string SecretMask::clientLine(std::string_view line) {
  if (startsWithWord(line, "AUTH")) {
    inLogin_ = true;
    // "AUTH PLAIN dXNlcgB1c2VyAHB3" keeps "AUTH PLAIN": the mechanism is worth seeing.
    std::size_t mechEnd = line.find(' ', 5);
    if (mechEnd == std::string_view::npos) return std::string(line);
    return std::string(line.substr(0, mechEnd)) + " " + std::string(kHidden);
  }
  if (inLogin_) return std::string(kHidden);
  return std::string(line);
}

void SecretMask::serverLine(std::string_view line) {
  // A 334 asks for the next piece of the login; any other final reply ends it.
  if (inLogin_ && line.size() >= 4 && line[3] == ' ' && line.substr(0, 3) != "334") inLogin_ = false;
}
