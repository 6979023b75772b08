#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "e2e/sim_process.h"
#include "fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// The UUCP lock file a program holds for the pty behind ports/<name>, or an empty path
// when no lock folder is writable here (the lock part is then not checked).
fs::path lockFileFor(const fs::path& link) {
  const fs::path device = fs::canonical(link);
  for (const char* folder : {"/run/lock", "/var/lock"}) {
    if (::access(folder, W_OK) == 0) return fs::path(folder) / ("LCK.." + device.filename().string());
  }
  return {};
}

// Sends SIGTERM to a program holding ports/COM1 and checks it went through its own
// close: exit status 0, the lock file gone, the pty free again (TIOCEXCL cleared).
// started tells when the program's event loop runs (the signal handler is installed
// just before exec(); a SIGTERM before that still kills it outright).
void expectClosesOnSigterm(const char* program, const fs::path& workDir,
                           const std::function<bool()>& started) {
  SimProcess sim(workDir, "COM1");
  ASSERT_TRUE(sim.ready());
  const fs::path link = workDir / "ports" / "COM1";
  const fs::path lock = lockFileFor(link);
  ChildProcess child(fs::path(ZM_BINARY_DIR) / program, {}, workDir,
                     {"QT_QPA_PLATFORM=offscreen"}, workDir / "program.out");
  if (!lock.empty()) {
    ASSERT_TRUE(waitUntil([&] { return fs::exists(lock); }, 20000))
        << readFile(workDir / "program.out");
  } else {
    ASSERT_TRUE(waitUntil([&] { return !sim.frames().empty(); }, 20000))
        << readFile(workDir / "program.out");
  }
  ASSERT_TRUE(waitUntil(started, 20000)) << readFile(workDir / "program.out");
  ASSERT_TRUE(child.running());

  child.signal(SIGTERM);
  ASSERT_TRUE(waitUntil([&] { return !child.running(); }, 10000));
  const int status = child.stop();
  EXPECT_TRUE(WIFEXITED(status)) << "status " << status << "\n" << readFile(workDir / "program.out");
  if (WIFEXITED(status)) {
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  if (!lock.empty()) {
    EXPECT_FALSE(fs::exists(lock));
  }

  const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0) << "the pty stayed busy after the close";
  int exclusive = -1;
  EXPECT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);
  ::close(fd);
}

TEST(SignalClose, SigtermEndsCorvaneThroughItsOwnClose) {
  TempDir dir;
  dir.write("commport", "COM1:");
  // The first tick saves the port name in Corvane's 8 bytes.
  expectClosesOnSigterm("corvane", dir.path(), [&] { return dir.read("commport").size() == 8; });
}

TEST(SignalClose, SigtermEndsHalvardThroughItsOwnClose) {
  TempDir dir;
  dir.makeDir("program");
  dir.makeDir("programEmail");
  dir.write("program/commport", "COM1:");
  // Halvard shows no outward sign that its loop runs: a short bounded settle instead.
  auto settle = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  expectClosesOnSigterm("halvard", dir.path(), [&] { return std::chrono::steady_clock::now() > settle; });
}

}  // namespace
