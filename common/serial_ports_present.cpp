#include "common/serial_ports_present.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

// The number after prefix when name is prefix followed by digits only.
bool numberAfter(const std::string& name, const std::string& prefix, unsigned long& number) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
  if (name.size() - prefix.size() > 6) return false;
  number = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
    number = number * 10 + static_cast<unsigned long>(name[i] - '0');
  }
  return true;
}

// The nodes in dev named prefix + number, by number.
std::vector<fs::path> numberedNodes(const fs::path& dev, const std::string& prefix) {
  std::vector<std::pair<unsigned long, fs::path>> found;
  std::error_code ec;
  for (fs::directory_iterator it(dev, ec), end; !ec && it != end; it.increment(ec)) {
    unsigned long number = 0;
    if (numberAfter(it->path().filename().string(), prefix, number)) {
      found.emplace_back(number, it->path());
    }
  }
  std::sort(found.begin(), found.end());
  std::vector<fs::path> nodes;
  for (auto& entry : found) nodes.push_back(std::move(entry.second));
  return nodes;
}

fs::path canonicalOrEmpty(const fs::path& path) {
  std::error_code ec;
  fs::path real = fs::canonical(path, ec);
  return ec ? fs::path() : real;
}

// The serial core shows the UART type it found; 0 (PORT_UNKNOWN) means none answered.
bool hasUart(const fs::path& sys, const std::string& node) {
  std::ifstream in(sys / "class/tty" / node / "type");
  int type = 0;
  return static_cast<bool>(in >> type) && type != 0;
}

}  // namespace

std::vector<fs::path> serialPortsPresent(const DeviceTree& tree) {
  std::vector<fs::path> ports;
  std::set<fs::path> reached;  // the devices already named, by their real path
  auto add = [&](const fs::path& path) {
    fs::path real = canonicalOrEmpty(path);
    if (real.empty() || !reached.insert(real).second) return;
    ports.push_back(path);
  };

  std::vector<fs::path> byId;
  std::error_code ec;
  for (fs::directory_iterator it(tree.dev / "serial/by-id", ec), end; !ec && it != end;
       it.increment(ec)) {
    byId.push_back(it->path());
  }
  std::sort(byId.begin(), byId.end());
  for (const fs::path& entry : byId) add(entry);

  for (const char* prefix : {"ttyACM", "ttyUSB"}) {
    for (const fs::path& node : numberedNodes(tree.dev, prefix)) add(node);
  }
  for (const fs::path& node : numberedNodes(tree.dev, "ttyS")) {
    if (hasUart(tree.sys, node.filename().string())) add(node);
  }
  return ports;
}
