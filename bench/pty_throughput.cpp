// Bytes per second through TermiosSerialPort on a pseudo-terminal opened at 115200
// baud, both ways. A pseudo-terminal does not pace at the baud rate, so this
// measures the port's own cost per write (write, drain) and per read, not the line.

#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "common/termios_serial_port.h"

namespace {

using Steady = std::chrono::steady_clock;

constexpr std::size_t kTotalBytes = 4 << 20;

double seconds(Steady::duration d) { return std::chrono::duration<double>(d).count(); }

// The module end drains the master until it has seen every byte.
double portToModule(TermiosSerialPort& port, int master, std::size_t chunk, std::size_t total) {
  std::atomic<std::size_t> received{0};
  std::thread reader([&] {
    char buffer[8192];
    while (received < total) {
      pollfd pfd{master, POLLIN, 0};
      if (::poll(&pfd, 1, 2000) <= 0) break;
      ssize_t n = ::read(master, buffer, sizeof buffer);
      if (n <= 0) break;
      received += static_cast<std::size_t>(n);
    }
  });
  const std::string frame(chunk, 'U');
  auto start = Steady::now();
  for (std::size_t sent = 0; sent < total; sent += chunk) port.write(frame);
  reader.join();
  double s = seconds(Steady::now() - start);
  return static_cast<double>(received) / s;
}

double moduleToPort(TermiosSerialPort& port, int master) {
  std::thread writer([&] {
    const std::string block(4096, 'A');
    for (std::size_t sent = 0; sent < kTotalBytes;) {
      ssize_t n = ::write(master, block.data(), block.size());
      if (n <= 0) break;
      sent += static_cast<std::size_t>(n);
    }
  });
  std::size_t got = 0;
  auto start = Steady::now();
  auto lastByte = start;
  // Reads never wait, so the loop polls; it stops after a second without input.
  while (got < kTotalBytes && seconds(Steady::now() - lastByte) < 1.0) {
    std::size_t n = port.readAvailable(4096).size();
    if (n > 0) lastByte = Steady::now();
    got += n;
  }
  writer.join();
  return static_cast<double>(got) / seconds(lastByte - start);
}

}  // namespace

int main() {
  int master = -1, slave = -1;
  if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
    std::perror("openpty");
    return 1;
  }
  char slaveName[128] = {};
  ::ptsname_r(master, slaveName, sizeof slaveName);
  std::string tmpl = (std::filesystem::temp_directory_path() / "zmbench.XXXXXX").string();
  std::filesystem::path workDir = ::mkdtemp(tmpl.data());
  std::filesystem::create_directories(workDir / "ports");
  std::filesystem::create_symlink(slaveName, workDir / "ports/COM3");

  TermiosSerialPort port(workDir);
  if (!port.open("COM3:", 115200)) {
    std::fprintf(stderr, "could not open the pseudo-terminal\n");
    return 1;
  }
  std::printf("TermiosSerialPort on a pseudo-terminal at 115200 baud\n");
  std::printf("A pseudo-terminal does not pace at the baud rate: a real 115200 8N1 line\n"
              "carries at most 11520 bytes/s; these figures are the port's own ceiling.\n");
  // Small writes cost a system call and a drain each, so they get a smaller budget.
  for (std::size_t chunk : {std::size_t{5}, std::size_t{64}, std::size_t{4096}}) {
    std::size_t total = std::min(kTotalBytes, chunk * 50'000);
    std::printf("  port -> module, %4zu-byte writes (%7zu bytes): %12.0f bytes/s\n", chunk, total,
                portToModule(port, master, chunk, total));
  }
  std::printf("  module -> port, reads of up to 4096 (%zu bytes): %9.0f bytes/s\n", kTotalBytes,
              moduleToPort(port, master));

  port.close();
  ::close(slave);
  ::close(master);
  std::filesystem::remove_all(workDir);
  return 0;
}
