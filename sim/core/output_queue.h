#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zmsim {

// What the module has sent and the PC has not read yet. A PC that keeps writing
// queries and never reads would make it grow without end, so beyond maxBytes what the
// module sends is dropped, as a real module's transmit buffer would overrun. The bytes
// already queued stay in order, so the PC never reads a reply cut in two by a drop
// in its middle.
class OutputQueue {
 public:
  static constexpr std::size_t kDefaultMaxBytes = 64 * 1024;

  explicit OutputQueue(std::size_t maxBytes = kDefaultMaxBytes) : maxBytes_(maxBytes) {}

  // Queues what fits and returns how many bytes of the end were dropped.
  std::size_t push(std::string_view bytes);
  // The bytes waiting, oldest first.
  std::string_view pending() const { return bytes_; }
  // The first n pending bytes have gone to the PC.
  void taken(std::size_t n);
  void clear() { bytes_.clear(); }
  bool empty() const { return bytes_.empty(); }
  std::size_t size() const { return bytes_.size(); }
  std::size_t maxBytes() const { return maxBytes_; }

  // Bytes dropped since resetDropped(): an overrun is told once, and its total when
  // the PC reads again.
  std::size_t dropped() const { return dropped_; }
  void resetDropped() { dropped_ = 0; }

 private:
  std::size_t maxBytes_;
  std::string bytes_;
  std::size_t dropped_ = 0;
};

}  // namespace zmsim
