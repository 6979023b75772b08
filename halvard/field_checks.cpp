#include "halvard/field_checks.h"

#include <cstdio>

#include "halvard/control_ids.h"
#include "halvard/halvard_dlg.h"
#include "halvard/test_email/mail_text.h"
#include "halvard/wave_file_info.h"

using namespace halvard_ids;

namespace {

constexpr const char* kLengthLabel = "WAVEFILE PLAYING LENGTH IN SECOND";

std::string secondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", seconds);
  return text;
}

}  // namespace

std::string FieldChecks::addressProblem(std::string_view address) {
  return mail_text::addressProblem(address);
}

std::string FieldChecks::lengthProblem(std::string_view text) {
  if (text.empty()) return {};
  for (char c : text) {
    if (c < '0' || c > '9') return "\"" + std::string(text) + "\" is not a whole number of seconds";
  }
  return {};
}

std::string FieldChecks::waveVerdict(const std::string& waveFile, const std::string& waveLength,
                                     const std::filesystem::path& workDir) {
  if (waveFile.empty()) return {};
  std::filesystem::path path(waveFile);
  if (path.is_relative()) path = workDir / path;
  const std::string named = "WAVEFILE " + path.string();
  WaveFileInfo info = inspectWaveFile(path);
  switch (info.kind) {
    case WaveFileInfo::Kind::kMissing:
      return named + " does not exist (a name without a folder is taken from " + workDir.string() + ")";
    case WaveFileInfo::Kind::kNotAFile:
      return named + " is not a file";
    case WaveFileInfo::Kind::kUnreadable:
      return named + " cannot be read";
    case WaveFileInfo::Kind::kNotWave:
      return named + " is not a RIFF/WAVE sound file";
    case WaveFileInfo::Kind::kWave:
      break;
  }
  std::string text = named + ": RIFF/WAVE, " + secondsText(info.seconds) + " of sound (" +
                     std::to_string(info.sampleRate) + " Hz, " + std::to_string(info.channels) + " channel" +
                     (info.channels == 1 ? "" : "s") + ", " + std::to_string(info.bitsPerSample) + " bit)";
  if (!waveLength.empty() && lengthProblem(waveLength).empty()) {
    double length = std::stod(waveLength.substr(0, 9));
    text += length > info.seconds ? "; the playing length, " + waveLength + " s, is longer than the sound"
                                  : "; the playing length, " + waveLength + " s, fits in the sound";
  }
  return text;
}

void FieldChecks::afterEdit(int id, const CHalvardDlg& dlg, StatusLine& status) {
  switch (id) {
    case kFromAddress:
      tell(id, "FROM ADDRESS", addressProblem(dlg.fromAddress), status);
      break;
    case kToAddress:
      tell(id, "TO ADDRESS", addressProblem(dlg.toAddress), status);
      break;
    case kSecondToAddress:
      // The second address may stay empty: the e-mails then go to one address.
      tell(id, "SECOND TO EMAIL ADDRESS",
           dlg.secondToAddress.empty() ? "" : addressProblem(dlg.secondToAddress), status);
      break;
    case kSender:
      // Without an '@' SENDER is the name shown with FROM ADDRESS, and any text will do.
      tell(id, "SENDER", dlg.sender.find('@') == std::string::npos ? "" : addressProblem(dlg.sender), status);
      break;
    case kWaveLength:
      tell(id, kLengthLabel, lengthProblem(dlg.waveLength), status);
      [[fallthrough]];
    case kWaveFile: {
      std::string verdict = waveVerdict(dlg.waveFile, dlg.waveLength, dlg.workDir());
      // The wave file's own verdict is news whenever it changes, good or bad.
      if (verdict != told_[kWaveFile]) {
        told_[kWaveFile] = verdict;
        if (!verdict.empty()) status.show(verdict);
      }
      break;
    }
    default:
      break;
  }
}

void FieldChecks::tell(int id, const std::string& label, const std::string& problem, StatusLine& status) {
  std::string& told = told_[id];
  if (problem == told) return;
  if (problem.empty()) {
    status.show(label + " looks right now");
  } else {
    status.show(label + " " + problem);
  }
  told = problem;
}
