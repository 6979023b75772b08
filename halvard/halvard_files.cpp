#include "halvard/halvard_files.h"

#include <algorithm>

#include "common/settings_file.h"

namespace halvard_files {

std::string keepPrintable(std::string_view bytes) {
  std::string kept;
  kept.reserve(bytes.size());
  for (char c : bytes) {
    if (static_cast<signed char>(c) > 31) kept.push_back(c);
  }
  return kept;
}

std::string readPortName(const std::filesystem::path& path) {
  std::string bytes = settings::readFile(path, kPortNameBytes, settings::OpenMode::kOpenAlways);
  std::size_t end = bytes.find('\0');
  if (end != std::string::npos) bytes.resize(end);
  return bytes;
}

std::string portFileBytes(std::string_view commPort) {
  std::string bytes(kPortNameBytes, '\0');
  std::copy_n(commPort.begin(), std::min(commPort.size(), kPortNameBytes), bytes.begin());
  return bytes;
}

}  // namespace halvard_files
