#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/settings_files.h"
#include "common/write_result.h"

// Corvane's settings and message files in its working directory, through the
// SettingsFiles it is given: one setting or message per file, raw bytes, no
// terminator, no line end. Every operation is one open, one read or write and a close.
// A file that cannot be opened yields nothing or takes nothing; the saves of the
// settings return what their write did, so the dialog can tell the operator (the files
// themselves stay as they are). The history file "./zm40demohistory", which stays open
// for the whole run, is a HistoryFile (common/history_file.h) of its own; its record is
// made here.
class CorvaneFiles {
 public:
  static constexpr std::size_t kHistoryRecordBytes = 100;
  static constexpr std::string_view kTimeoutRecordText = "error: communication timeout has occured.";

  // files must outlive this object; the file names are taken in workDir.
  CorvaneFiles(SettingsFiles& files, std::filesystem::path workDir);

  const std::filesystem::path& workDir() const { return workDir_; }

  static constexpr std::size_t kPortNameBytes = 8;

  // ./commport: created empty when missing; at most 8 bytes, the name ends at the first NUL.
  std::string readPortName();
  // Whether name reads back from ./commport as itself (see fitsStoredPortName).
  static bool storesPortName(std::string_view name);
  // 8 bytes over the start of ./commport (created when missing, never truncated): the
  // name's bytes, a NUL and zero filler. A name that does not fit is not written at
  // all, rather than cut into another device's name: the file keeps what it held.
  WriteResult savePortName(std::string_view name);

  // ./protocol2: the first of at most 20 bytes; nothing for a missing or empty file.
  std::optional<char> readProtocolCode();
  WriteResult saveProtocolCode(char code);

  // ./telephonenumber: at most 20 bytes, keeping only bytes 0x21 to 0x7F.
  std::string readTelephoneNumber();
  WriteResult saveTelephoneNumber(std::string_view number);

  // n from 1 to 8: ./alarmmessage, ./alarmmessage2 ... ./alarmmessage8.
  static std::string alarmMessageFileName(int n);
  // At start-up: at most 100 bytes, every byte kept.
  std::string readAlarmMessage(int n);
  // The whole text replaces the file.
  WriteResult saveAlarmMessage(int n, std::string_view text);
  // For a multiple run: at most 16 bytes of an existing file (n from 2 to 8).
  std::string readRunMessage(int n);

  // ./command mailbox, never created here: when it exists and its first byte is
  // 0x20 to 0x7F, returns that byte and marks it taken by writing CR over it.
  std::optional<char> takeCommand();

  // ./displaymessage, only when it exists: 16 bytes over its start, the first 16 of
  // text, or its bytes, a NUL and zero filler.
  void writeDisplayMessage(std::string_view text);

  // One 100-byte record of ./zm40demohistory: the time-out text, a NUL and zero filler.
  static std::string timeoutRecord();

 private:
  std::filesystem::path path(std::string_view name) const { return workDir_ / name; }

  SettingsFiles& files_;
  std::filesystem::path workDir_;
};
