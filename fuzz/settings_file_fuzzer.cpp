// The settings files of both programs on a real folder: the helpers of
// common/settings_file.h, Corvane's files (CorvaneFiles) and Halvard's port files
// (HalvardFiles), driven by a sequence of operations that the input chooses, against a
// model of what every file must hold.
//
// Invariants:
// - after every operation each file holds exactly the bytes the model says (or does
//   not exist), and the folder holds no other file (no temporary left behind);
// - a read returns the file's first bytes, never more than its limit;
// - writeInPlace keeps the bytes after what it wrote; replaceWhole leaves exactly its
//   bytes and keeps the file's permissions less the group and other read and write
//   that the mode asked for withholds (a new file gets the mode asked for);
//   kOpenExisting never creates a file;
// - a link to a settings file is written through, never cut;
// - what each program saves it reads back: port names (8 bytes for Corvane, 5 for
//   Halvard, over the same "./commport"), protocol code, telephone number, alarm and
//   run messages; the command mailbox gives each byte once; the display snapshot and
//   the history records have their fixed widths.

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "common/settings_file.h"
#include "common/history_file.h"
#include "corvane/corvane_files.h"
#include "fakes/temp_dir.h"
#include "fuzz/fuzz_check.h"
#include "halvard/halvard_files.h"

namespace fs = std::filesystem;
using settings::OpenMode;

namespace {

constexpr int kMaxOperations = 48;
constexpr std::size_t kMaxBytes = 300;
// "l" is a link to "a": both name one file.
const char* const kNames[] = {"a",         "b",         "l",       "commport", "protocol2",
                              "telephonenumber", "alarmmessage", "alarmmessage3", "command",
                              "displaymessage"};
const mode_t kModes[] = {0600, 0640, 0644, 0666};

class Model {
 public:
  explicit Model(const fs::path& dir) : dir_(dir) {}

  static std::string real(const std::string& name) { return name == "l" ? "a" : name; }
  std::optional<std::string>& at(const std::string& name) { return files_[real(name)]; }
  bool exists(const std::string& name) { return at(name).has_value(); }
  fs::path path(const std::string& name) const { return dir_ / name; }

  void writeInPlace(const std::string& name, const std::string& bytes) {
    std::string& now = at(name).emplace(at(name).value_or(""));
    if (bytes.size() >= now.size()) {
      now = bytes;
    } else {
      now.replace(0, bytes.size(), bytes);
    }
  }

  // Every file on disk against the model, and nothing else in the folder.
  void check(std::size_t historyBytes, bool historyOpen) {
    std::set<std::string> expected{"l"};
    for (const auto& [name, content] : files_) {
      const fs::path p = path(name);
      if (!content) {
        FUZZ_CHECK(!fs::exists(p), name + " exists but should not");
        continue;
      }
      expected.insert(name);
      std::ifstream in(p, std::ios::binary);
      const std::string onDisk((std::istreambuf_iterator<char>(in)), {});
      FUZZ_CHECK(onDisk == *content, name + " holds " + fuzz::visible(onDisk) + " not " +
                                         fuzz::visible(*content));
    }
    if (historyOpen) {
      expected.insert("zm40demohistory");
      FUZZ_CHECK(fs::file_size(path("zm40demohistory")) == historyBytes,
                 "the history file is not whole records");
    }
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      FUZZ_CHECK(expected.count(name) == 1, "a file left behind: " + name);
    }
    FUZZ_CHECK(fs::is_symlink(path("l")), "the link to a was cut");
  }

 private:
  fs::path dir_;
  std::map<std::string, std::optional<std::string>> files_;
};

mode_t modeOf(const fs::path& p) {
  struct stat st {};
  FUZZ_CHECK(::stat(p.c_str(), &st) == 0, "stat failed");
  return st.st_mode & 07777;
}

std::string fixedWidth(const std::string& text, std::size_t width) {
  std::string out = text.substr(0, width);
  out.resize(width, '\0');
  return out;
}

std::string upToNul(std::string text) { return text.substr(0, text.find('\0')); }

void run(FuzzedDataProvider& input, const fs::path& dir) {
  Model model(dir);
  PosixSettingsFiles onDisk;
  CorvaneFiles corvane(onDisk, dir);
  HalvardFiles halvard(onDisk, dir);
  const mode_t umaskNow = ::umask(0);
  ::umask(umaskNow);
  std::size_t historyBytes = 0;
  bool historyOpen = false;
  std::optional<LockedHistoryFile> history;

  for (int op = 0; op < kMaxOperations && input.remaining_bytes() > 0; ++op) {
    const std::string name = input.PickValueInArray(kNames);
    const fs::path p = model.path(name);
    const OpenMode mode = input.ConsumeBool() ? OpenMode::kOpenAlways : OpenMode::kOpenExisting;
    switch (input.ConsumeIntegralInRange(0, 16)) {
      case 0: {
        const std::string bytes = input.ConsumeRandomLengthString(kMaxBytes);
        settings::writeInPlace(p, bytes, mode);
        if (mode == OpenMode::kOpenAlways || model.exists(name)) model.writeInPlace(name, bytes);
        break;
      }
      case 1: {
        const std::string bytes = input.ConsumeRandomLengthString(kMaxBytes);
        const mode_t asked = input.PickValueInArray(kModes);
        const bool existed = model.exists(name);
        const mode_t before = existed ? modeOf(p) : 0;
        settings::replaceWhole(p, bytes, asked);
        model.at(name) = bytes;
        const mode_t after = modeOf(p);
        // An existing file keeps its rights, less the group and other read and write
        // that the asked mode withholds: a private file never stays open to others.
        FUZZ_CHECK(after == (existed ? (before & ~(066 & ~asked)) : (asked & ~umaskNow)),
                   "replaceWhole gave the file wrong permissions");
        break;
      }
      case 2: {
        const std::size_t limit = input.ConsumeIntegralInRange<std::size_t>(0, kMaxBytes);
        const std::string got = settings::readFile(p, limit, mode);
        if (mode == OpenMode::kOpenAlways && !model.exists(name)) model.at(name) = "";
        const std::string expected = model.at(name).value_or("").substr(0, limit);
        FUZZ_CHECK(got.size() <= limit, "a read past its limit");
        FUZZ_CHECK(got == expected, "read " + fuzz::visible(got) + " not " + fuzz::visible(expected));
        break;
      }
      case 3:
        FUZZ_CHECK(settings::exists(p) == model.exists(name), "exists() is wrong for " + name);
        break;
      case 4:
        if (name != "l") {
          fs::remove(p);
          model.at(name).reset();
        }
        break;
      case 5:
        if (model.exists(name)) fs::permissions(p, fs::perms(input.PickValueInArray(kModes)));
        break;
      case 6: {
        const std::string port = input.ConsumeRandomLengthString(16);
        const bool fits = CorvaneFiles::storesPortName(port);
        corvane.savePortName(port);
        // A name too long for the file is refused whole, never stored cut.
        if (fits) {
          model.writeInPlace("commport", fixedWidth(port, 8));
          FUZZ_CHECK(corvane.readPortName() == upToNul(port),
                     "Corvane's port name does not read back");
        }
        break;
      }
      case 7: {
        const std::string port = input.ConsumeRandomLengthString(16);
        // Halvard's 5 bytes over the start of the shared file: Corvane's last 3 stay.
        const std::string bytes = halvard_files::portFileBytes(port);
        FUZZ_CHECK(bytes.size() == halvard_files::kPortNameBytes, "a port file of the wrong width");
        halvard.savePortName(halvard_files::kSharedPort, port);
        model.writeInPlace("commport", bytes);
        FUZZ_CHECK(halvard.readPortName(halvard_files::kSharedPort) == upToNul(port.substr(0, 5)),
                   "Halvard's port name does not read back");
        break;
      }
      case 8: {
        const std::string got = corvane.readPortName();
        if (!model.exists("commport")) model.at("commport") = "";
        FUZZ_CHECK(got == upToNul(model.at("commport")->substr(0, 8)), "Corvane read a wrong port name");
        const std::string halvardName = halvard.readPortName(halvard_files::kSharedPort);
        FUZZ_CHECK(halvardName == upToNul(model.at("commport")->substr(0, 5)),
                   "Halvard read a wrong port name");
        break;
      }
      case 9: {
        const char code = input.ConsumeIntegral<char>();
        corvane.saveProtocolCode(code);
        model.at("protocol2") = std::string(1, code);
        FUZZ_CHECK(corvane.readProtocolCode() == code, "the protocol code does not read back");
        break;
      }
      case 10: {
        const std::string number = input.ConsumeRandomLengthString(40);
        corvane.saveTelephoneNumber(number);
        model.at("telephonenumber") = number;
        std::string kept;
        for (char c : number.substr(0, 20)) {
          if (static_cast<unsigned char>(c) >= 0x21 && static_cast<unsigned char>(c) <= 0x7F) kept += c;
        }
        FUZZ_CHECK(corvane.readTelephoneNumber() == kept, "the telephone number does not read back");
        break;
      }
      case 11: {
        const int n = input.ConsumeBool() ? 1 : 3;
        const std::string text = input.ConsumeRandomLengthString(kMaxBytes);
        corvane.saveAlarmMessage(n, text);
        model.at(CorvaneFiles::alarmMessageFileName(n)) = text;
        FUZZ_CHECK(corvane.readAlarmMessage(n) == text.substr(0, 100), "an alarm message does not read back");
        FUZZ_CHECK(n == 1 || corvane.readRunMessage(n) == text.substr(0, 16),
                   "a run message does not read back");
        break;
      }
      case 12: {
        const std::optional<char> got = corvane.takeCommand();
        std::optional<std::string>& box = model.at("command");
        std::optional<char> expected;
        if (box && !box->empty()) {
          const auto first = static_cast<unsigned char>((*box)[0]);
          if (first >= 0x20 && first <= 0x7F) {
            expected = (*box)[0];
            (*box)[0] = '\r';  // taken: never passed on twice
          }
        }
        FUZZ_CHECK(got == expected, "the command mailbox gave a wrong byte");
        break;
      }
      case 13: {
        const std::string text = input.ConsumeRandomLengthString(40);
        corvane.writeDisplayMessage(text);
        if (model.exists("displaymessage")) model.writeInPlace("displaymessage", fixedWidth(text, 16));
        break;
      }
      case 14:
        history.reset();  // the earlier run's file is let go before the next one takes it
        history.emplace(dir / "zm40demohistory");
        historyOpen = history->create().outcome == HistoryFile::Outcome::kOpen;
        historyBytes = 0;
        break;
      case 15:
        if (history) history->append(CorvaneFiles::timeoutRecord());
        if (historyOpen) historyBytes += CorvaneFiles::kHistoryRecordBytes;
        break;
      case 16: {
        const std::string bytes = input.ConsumeRandomLengthString(kMaxBytes);
        const std::string kept = halvard_files::keepPrintable(bytes);
        std::string expected;
        for (char c : bytes) {
          if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) <= 0x7F) expected += c;
        }
        FUZZ_CHECK(kept == expected, "keepPrintable kept " + fuzz::visible(kept));
        break;
      }
    }
    model.check(historyBytes, historyOpen);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TempDir dir;
  for (const auto& entry : fs::directory_iterator(dir.path())) fs::remove_all(entry.path());
  fs::create_symlink("a", dir / "l");
  FuzzedDataProvider input(data, size);
  run(input, dir.path());
  return 0;
}
