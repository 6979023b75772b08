#pragma once

#include <filesystem>
#include <string>

// What a WAVEFILE names, as far as the operator needs to know before an alarm plays
// it: whether it is there, whether it is a RIFF/WAVE sound, and how long it plays.
// Reads only the file's chunk headers; a fifo or a device is never opened for reading.
struct WaveFileInfo {
  enum class Kind { kMissing, kNotAFile, kUnreadable, kNotWave, kWave };

  Kind kind = Kind::kMissing;
  double seconds = 0;  // kWave: the length of its sound
  int sampleRate = 0;
  int channels = 0;
  int bitsPerSample = 0;
};

WaveFileInfo inspectWaveFile(const std::filesystem::path& path);
