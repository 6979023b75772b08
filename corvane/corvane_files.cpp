#include "corvane/corvane_files.h"

#include "common/port_names.h"

using settings::OpenMode;

namespace {

// The first `width` bytes of text; a shorter text is followed by a NUL and zero filler.
std::string fixedWidth(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, '\0');
  return out;
}

}  // namespace

CorvaneFiles::CorvaneFiles(SettingsFiles& files, std::filesystem::path workDir)
    : files_(files), workDir_(std::move(workDir)) {}

std::string CorvaneFiles::readPortName() {
  std::string bytes = files_.read(path("commport"), kPortNameBytes, OpenMode::kOpenAlways);
  return bytes.substr(0, bytes.find('\0'));
}

bool CorvaneFiles::storesPortName(std::string_view name) {
  return fitsStoredPortName(name, kPortNameBytes);
}

WriteResult CorvaneFiles::savePortName(std::string_view name) {
  if (!storesPortName(name)) {
    return {false, 0, "the name does not fit the " + std::to_string(kPortNameBytes) +
                          " bytes of ./commport"};
  }
  return files_.writeInPlace(path("commport"), fixedWidth(name, kPortNameBytes),
                                OpenMode::kOpenAlways);
}

std::optional<char> CorvaneFiles::readProtocolCode() {
  std::string bytes = files_.read(path("protocol2"), 20, OpenMode::kOpenExisting);
  if (bytes.empty()) return std::nullopt;
  return bytes[0];
}

WriteResult CorvaneFiles::saveProtocolCode(char code) {
  return files_.replaceWhole(path("protocol2"), std::string_view(&code, 1),
                             settings::kSharedFileMode);
}

std::string CorvaneFiles::readTelephoneNumber() {
  std::string number;
  for (char c : files_.read(path("telephonenumber"), 20, OpenMode::kOpenExisting)) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x21 && byte <= 0x7F) number += c;
  }
  return number;
}

WriteResult CorvaneFiles::saveTelephoneNumber(std::string_view number) {
  return files_.replaceWhole(path("telephonenumber"), number, settings::kSharedFileMode);
}

std::string CorvaneFiles::alarmMessageFileName(int n) {
  return n == 1 ? std::string("alarmmessage") : "alarmmessage" + std::to_string(n);
}

std::string CorvaneFiles::readAlarmMessage(int n) {
  return files_.read(path(alarmMessageFileName(n)), 100, OpenMode::kOpenExisting);
}

WriteResult CorvaneFiles::saveAlarmMessage(int n, std::string_view text) {
  return files_.replaceWhole(path(alarmMessageFileName(n)), text, settings::kSharedFileMode);
}

std::string CorvaneFiles::readRunMessage(int n) {
  return files_.read(path(alarmMessageFileName(n)), 16, OpenMode::kOpenExisting);
}

std::optional<char> CorvaneFiles::takeCommand() {
  std::string bytes = files_.read(path("command"), 30, OpenMode::kOpenExisting);
  if (bytes.empty()) return std::nullopt;
  auto first = static_cast<unsigned char>(bytes[0]);
  if (first < 0x20 || first > 0x7F) return std::nullopt;
  files_.writeInPlace(path("command"), "\r", OpenMode::kOpenExisting);
  return bytes[0];
}

void CorvaneFiles::writeDisplayMessage(std::string_view text) {
  files_.writeInPlace(path("displaymessage"), fixedWidth(text, 16), OpenMode::kOpenExisting);
}

std::string CorvaneFiles::timeoutRecord() {
  return fixedWidth(kTimeoutRecordText, kHistoryRecordBytes);
}
