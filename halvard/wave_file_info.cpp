#include "halvard/wave_file_info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr int kMaxChunks = 64;  // a sound file has a handful; more is not one

std::uint32_t le32(const unsigned char* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}
std::uint16_t le16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

bool readAt(int fd, off_t at, unsigned char* buffer, std::size_t size) {
  return ::pread(fd, buffer, size, at) == static_cast<ssize_t>(size);
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

WaveFileInfo inspectWaveFile(const std::filesystem::path& path) {
  WaveFileInfo info;
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return info;  // kMissing
  if (!S_ISREG(status.st_mode)) {
    info.kind = WaveFileInfo::Kind::kNotAFile;
    return info;
  }
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) {
    info.kind = WaveFileInfo::Kind::kUnreadable;
    return info;
  }
  info.kind = WaveFileInfo::Kind::kNotWave;
  unsigned char header[12];
  if (!readAt(fd.get(), 0, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
      std::memcmp(header + 8, "WAVE", 4) != 0) {
    return info;
  }
  std::uint32_t byteRate = 0;
  bool haveFormat = false;
  off_t at = 12;
  for (int chunk = 0; chunk < kMaxChunks; ++chunk) {
    unsigned char head[8];
    if (!readAt(fd.get(), at, head, sizeof head)) break;
    std::uint32_t size = le32(head + 4);
    if (std::memcmp(head, "fmt ", 4) == 0 && size >= 16) {
      unsigned char format[16];
      if (!readAt(fd.get(), at + 8, format, sizeof format)) break;
      info.channels = le16(format + 2);
      info.sampleRate = static_cast<int>(le32(format + 4));
      byteRate = le32(format + 8);
      info.bitsPerSample = le16(format + 14);
      haveFormat = true;
    } else if (std::memcmp(head, "data", 4) == 0) {
      if (!haveFormat || byteRate == 0) return info;
      // A data chunk cut short by the file's end plays only what is there.
      auto present = static_cast<std::uint64_t>(status.st_size) - static_cast<std::uint64_t>(at + 8);
      std::uint64_t bytes = std::min<std::uint64_t>(size, present);
      info.seconds = static_cast<double>(bytes) / byteRate;
      info.kind = WaveFileInfo::Kind::kWave;
      return info;
    }
    at += 8 + static_cast<off_t>(size) + (size & 1);  // chunks are padded to even sizes
  }
  return info;
}
