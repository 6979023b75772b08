#include "halvard/halvard_files.h"

#include <algorithm>

using settings::OpenMode;

namespace halvard_files {

std::string keepPrintable(std::string_view bytes) {
  std::string kept;
  kept.reserve(bytes.size());
  for (char c : bytes) {
    if (static_cast<signed char>(c) > 31) kept.push_back(c);
  }
  return kept;
}

std::string portFileBytes(std::string_view commPort) {
  std::string bytes(kPortNameBytes, '\0');
  std::copy_n(commPort.begin(), std::min(commPort.size(), kPortNameBytes), bytes.begin());
  return bytes;
}

}  // namespace halvard_files

HalvardFiles::HalvardFiles(SettingsFiles& files, std::filesystem::path workDir)
    : files_(files), workDir_(std::move(workDir)) {}

std::string HalvardFiles::readText(const char* file, std::size_t maxBytes) {
  return files_.read(path(file), maxBytes, OpenMode::kOpenExisting);
}

std::string HalvardFiles::readPortName(const char* file) {
  std::string bytes = files_.read(path(file), halvard_files::kPortNameBytes, OpenMode::kOpenAlways);
  std::size_t end = bytes.find('\0');
  if (end != std::string::npos) bytes.resize(end);
  return bytes;
}

bool HalvardFiles::readEmailSwitch() {
  std::string flag = files_.read(path(halvard_files::kProgramFlag), 1, OpenMode::kOpenAlways);
  return !flag.empty() && flag[0] == halvard_files::kEmailOn;
}

bool HalvardFiles::emailFolderExists() { return files_.isFolder(path(halvard_files::kEmailFolder)); }

WriteResult HalvardFiles::saveText(const char* file, std::string_view text, mode_t newFileMode) {
  return files_.replaceWhole(path(file), text, newFileMode);
}

WriteResult HalvardFiles::savePortName(const char* file, std::string_view commPort) {
  return files_.writeInPlace(path(file), halvard_files::portFileBytes(commPort), OpenMode::kOpenAlways);
}

WriteResult HalvardFiles::saveEmailSwitch(bool on) {
  const char flag = on ? halvard_files::kEmailOn : halvard_files::kEmailOff;
  return files_.writeInPlace(path(halvard_files::kProgramFlag), std::string_view(&flag, 1),
                             OpenMode::kOpenAlways);
}
