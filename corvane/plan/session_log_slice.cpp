#include "corvane/plan/session_log_slice.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "corvane/session_log.h"

namespace fs = std::filesystem;

namespace {

// A case's lines, not a whole soak's: the report keeps the last of them.
constexpr std::uintmax_t kMaxSliceBytes = 256 * 1024;

std::string readFrom(const fs::path& path, std::uintmax_t offset) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  in.seekg(static_cast<std::streamoff>(offset));
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::uintmax_t sizeOf(const fs::path& path) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  return ec ? 0 : size;
}

}  // namespace

SessionLogSlice::SessionLogSlice(fs::path workDir)
    : log_(workDir / SessionLog::kFileName), rotated_(workDir / (std::string(SessionLog::kFileName) + ".1")) {}

std::uintmax_t SessionLogSlice::mark() const { return sizeOf(log_); }

std::string SessionLogSlice::since(std::uintmax_t mark) const {
  const std::uintmax_t now = sizeOf(log_);
  std::string text = now >= mark ? readFrom(log_, mark) : readFrom(rotated_, mark) + readFrom(log_, 0);
  if (text.size() > kMaxSliceBytes) {
    const std::size_t cut = text.find('\n', text.size() - kMaxSliceBytes);
    text.erase(0, cut == std::string::npos ? text.size() - kMaxSliceBytes : cut + 1);
  }
  return text;
}
