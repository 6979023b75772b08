#include "sim/core/output_queue.h"

#include <algorithm>

namespace zmsim {

std::size_t OutputQueue::push(std::string_view bytes) {
  std::size_t room = maxBytes_ > bytes_.size() ? maxBytes_ - bytes_.size() : 0;
  std::size_t kept = std::min(room, bytes.size());
  bytes_.append(bytes.substr(0, kept));
  std::size_t lost = bytes.size() - kept;
  dropped_ += lost;
  return lost;
}

void OutputQueue::taken(std::size_t n) { bytes_.erase(0, std::min(n, bytes_.size())); }

}  // namespace zmsim
