#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/settings_files.h"
#include "common/write_result.h"

// Halvard's settings files: their names relative to the working directory, how much
// of each comes back at start, and the byte rules of their contents. The e-mail
// program that reads the ./programEmail files is not ours, so these names and
// layouts are an interface we keep, not a choice we make.
namespace halvard_files {

// The folder of the e-mail files; never made by us.
inline constexpr const char* kEmailFolder = "./programEmail";
inline constexpr const char* kServerName = "./programEmail/servername.txt";
inline constexpr const char* kUserName = "./programEmail/username.txt";
inline constexpr const char* kUserPrefix = "./programEmail/user.txt";
inline constexpr const char* kPassword = "./programEmail/password.txt";
inline constexpr const char* kSender = "./programEmail/sender.txt";
inline constexpr const char* kFromAddress = "./programEmail/fromaddress.txt";
inline constexpr const char* kToAddress = "./programEmail/toaddress.txt";
inline constexpr const char* kSecondToAddress = "./programEmail/customertoaddress.txt";
inline constexpr const char* kSubject = "./programEmail/subject.txt";
inline constexpr const char* kFirstLine = "./programEmail/emailfirstline.txt";
inline constexpr const char* kWaveFile = "./programEmail/musictitle.txt";
inline constexpr const char* kWaveLength = "./programEmail/musiclength.txt";
inline constexpr const char* kProgramFlag = "./programEmail/programflag.txt";
inline constexpr const char* kMainPort = "./program/commport";
// Shared with Corvane, which writes 8 bytes here; we only ever touch the first 5.
inline constexpr const char* kSharedPort = "./commport";
inline constexpr const char* kSecondPort = "./commport2";

inline constexpr std::size_t kTextReadBytes = 50;
inline constexpr std::size_t kFirstLineReadBytes = 1000;
inline constexpr std::size_t kPortNameBytes = 5;

// The password lies in plain text because the mailer reads it as typed: at least
// keep other users of the machine out of it.
inline constexpr mode_t kPasswordFileMode = 0600;
inline constexpr mode_t kTextFileMode = 0666;

inline constexpr char kEmailOn = 'E';
inline constexpr char kEmailOff = 'D';

// Subject and server name come back without line ends or other control bytes, and
// without bytes above 0x7F: only 0x20 to 0x7F are kept, the rest skipped.
std::string keepPrintable(std::string_view bytes);

// Exactly 5 bytes for a port file: the first five of the name, zero-filled.
std::string portFileBytes(std::string_view commPort);

}  // namespace halvard_files

// Halvard's files in its working directory, through the SettingsFiles it is given.
// `file` is always one of the names above.
class HalvardFiles {
 public:
  // files must outlive this object; the names are taken in workDir.
  HalvardFiles(SettingsFiles& files, std::filesystem::path workDir);

  // At most maxBytes of a text file; a missing one is not created.
  std::string readText(const char* file, std::size_t maxBytes);
  // A stored port name: at most 5 bytes of the file (created empty when missing and
  // its folder exists), ending at the first zero byte.
  std::string readPortName(const char* file);
  // Whether programflag.txt's first byte switches e-mail on (the file is created empty
  // when missing).
  bool readEmailSwitch();
  bool emailFolderExists();

  // The text file replaced whole by text, however long: cutting it would silently lose
  // what the operator typed.
  WriteResult saveText(const char* file, std::string_view text, mode_t newFileMode);
  // The 5 bytes of portFileBytes() over the start of a port file, created when missing.
  WriteResult savePortName(const char* file, std::string_view commPort);
  // The switch's one byte in place: the mailer reads only the first byte, and whatever
  // follows it is not ours to drop.
  WriteResult saveEmailSwitch(bool on);

 private:
  std::filesystem::path path(const char* file) const { return workDir_ / file; }

  SettingsFiles& files_;
  std::filesystem::path workDir_;
};
