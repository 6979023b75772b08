// Why a port did not open, as the operator reads it in the status line, on real
// pseudo-terminals.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "child_process.h"
#include "common/port_status_text.h"
#include "common/termios_serial_port.h"
#include "common/uucp_lock.h"
#include "fakes/temp_dir.h"
#include "pty_port_fixture.h"

namespace {

using Kind = PortProblem::Kind;

std::string lockText(long pid) {
  char text[16];
  std::snprintf(text, sizeof text, "%10ld\n", pid);
  return text;
}

class PortOpenProblems : public PtyAtCom3 {
 protected:
  // The lock file of the pty under the name every UUCP program uses.
  std::string lockName() const {
    return "lock/LCK.." + std::filesystem::path(pty.slavePath()).filename().string();
  }
  std::string told() const { return describePortProblem(port.name(), port.problem()); }

  PortPlaces places{DeviceTree{dir / "dev", dir / "sys"}, {dir / "lock"}};
  TermiosSerialPort port{dir.path(), places};
};

TEST_F(PortOpenProblems, NothingThereIsNoSuchDevice) {
  std::filesystem::create_symlink("/dev/ttyUSB7", dir / "ports/COM4");
  EXPECT_FALSE(port.open("COM4:", 9600));
  EXPECT_EQ(port.problem().kind, Kind::kNoDevice);
  EXPECT_EQ(port.problem().osError, ENOENT);
  EXPECT_EQ(told(), "COM4: no such device /dev/ttyUSB7");

  // No link and no serial port on this (empty) machine.
  EXPECT_FALSE(port.open("COM5", 9600));
  EXPECT_EQ(port.problem().kind, Kind::kNoDevice);
  EXPECT_EQ(port.device(), "");
  EXPECT_NE(told().find("ports/COM5"), std::string::npos) << told();

  EXPECT_FALSE(port.open("COM0:", 9600));
  EXPECT_EQ(port.problem().kind, Kind::kNoName);
  EXPECT_EQ(port.name(), "COM0:");
}

TEST_F(PortOpenProblems, WhatIsNoTerminalIsNotASerialDevice) {
  dir.write("plain", "keep");
  std::filesystem::create_symlink(dir / "plain", dir / "ports/COM5");
  EXPECT_FALSE(port.open("COM5:", 9600));
  EXPECT_EQ(port.problem().kind, Kind::kNotSerial);
  EXPECT_EQ(told(), "COM5: " + (dir / "plain").string() + " is not a serial device");

  EXPECT_FALSE(port.open("/dev/null", 9600));
  EXPECT_EQ(port.problem().kind, Kind::kNotSerial);
  EXPECT_EQ(told(), "/dev/null: the device is not a serial device");
  EXPECT_EQ(dir.read("plain"), "keep");
}

TEST_F(PortOpenProblems, FlockOfAnotherProgramIsBusy) {
  int other = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_FALSE(port.open("COM3:", 9600));
  EXPECT_EQ(port.problem().kind, Kind::kBusy);
  EXPECT_EQ(port.problem().holderPid, 0);
  EXPECT_EQ(told(), "COM3: " + pty.slavePath() + " is held by another program");
  EXPECT_FALSE(dir.exists(lockName()));  // our lock went with the failed open
  ::close(other);
  EXPECT_TRUE(port.open("COM3:", 9600));
}

// Each form in which programs write their process id: ten digits and a line end, a
// short pid with its line end that is four bytes long like a binary one, and the
// four raw bytes of an int.
TEST_F(PortOpenProblems, LiveUucpLockIsHonouredAndKeptBeforeTheDeviceIsTouched) {
  const int init = 1;  // never ends
  const std::string binary(reinterpret_cast<const char*>(&init), sizeof init);
  for (const std::string& text : {lockText(1), std::string("  1\n"), std::string("1\n"), binary}) {
    dir.write(lockName(), text);
    EXPECT_FALSE(port.open("COM3:", 9600));
    EXPECT_EQ(port.problem().kind, Kind::kBusy);
    EXPECT_EQ(port.problem().holderPid, 1) << "lock of " << text.size() << " bytes";
    EXPECT_EQ(dir.read(lockName()), text);
  }
  EXPECT_EQ(told().rfind("COM3: " + pty.slavePath() + " is held by ", 0), 0u) << told();
  // Not even opened: the line is still cooked, as the pty was made.
  termios tio{};
  ASSERT_EQ(tcgetattr(pty.slave(), &tio), 0);
  EXPECT_TRUE(tio.c_lflag & ICANON);
}

// The status line names the process a live lock names, as the process calls itself.
TEST_F(PortOpenProblems, TheHolderOfALockIsNamed) {
  char ownName[16] = {};
  ::prctl(PR_GET_NAME, ownName);
  ::prctl(PR_SET_NAME, "halvard");  // the child is born with it
  const pid_t holder = ::fork();
  if (holder == 0) {
    for (;;) ::pause();
  }
  ::prctl(PR_SET_NAME, ownName);
  ASSERT_GT(holder, 0);
  dir.write(lockName(), lockText(holder));
  EXPECT_FALSE(port.open("COM3:", 9600));
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  EXPECT_EQ(told(), "COM3: " + pty.slavePath() + " is held by halvard (process " +
                        std::to_string(holder) + ")");
}

TEST_F(PortOpenProblems, StaleLockIsRemovedAndOurOwnIsMadeAndRemoved) {
  dir.write(lockName(), lockText(endedProcessId()));
  ASSERT_TRUE(port.open("COM3:", 9600)) << told();
  EXPECT_EQ(dir.read(lockName()), lockText(::getpid()));
  struct stat st {};
  ASSERT_EQ(::stat((dir / lockName()).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);

  // A second port of this program finds the lock and says whose it is.
  TermiosSerialPort second(dir.path(), places);
  EXPECT_FALSE(second.open(pty.slavePath(), 9600));
  EXPECT_EQ(second.problem().holderPid, ::getpid());
  EXPECT_EQ(describePortProblem(second.name(), second.problem()),
            pty.slavePath() + ": the device is already open in this program");

  port.close();
  EXPECT_FALSE(dir.exists(lockName()));
  EXPECT_TRUE(second.open(pty.slavePath(), 9600));
}

TEST_F(PortOpenProblems, WithoutALockFolderTheFlockStillGuards) {
  PortPlaces noLocks{places.tree, {dir / "no-such-folder"}};
  TermiosSerialPort first(dir.path(), noLocks), second(dir.path(), noLocks);
  ASSERT_TRUE(first.open("COM3:", 9600));
  EXPECT_FALSE(second.open("COM3:", 9600));
  EXPECT_EQ(second.problem().kind, Kind::kBusy);
}

TEST_F(PortOpenProblems, RatesTermiosLacksAreLineSettingsProblems) {
  EXPECT_FALSE(port.open("COM3:", 12345));
  EXPECT_EQ(port.problem().kind, Kind::kLineSettings);
  EXPECT_EQ(port.baud(), 12345);
  EXPECT_FALSE(dir.exists(lockName()));
}

TEST_F(PortOpenProblems, TheProcessTerminalNeverOpens) {
  EXPECT_FALSE(port.open("/dev/tty", 9600));
  EXPECT_EQ(port.problem().kind, Kind::kControllingTerminal);

  // A child in a session of its own makes the pty its controlling terminal, then
  // tries to open it as a port, by its path and by a link.
  std::optional<std::string> result = inChild([&] {
    if (::setsid() < 0 || ::ioctl(pty.slave(), TIOCSCTTY, 0) != 0) return std::string("setup");
    TermiosSerialPort own(dir.path(), places);
    bool opened = own.open(pty.slavePath(), 9600) || own.open("COM3:", 9600);
    return std::string(opened ? "opened" : "") +
           describePortProblem(own.name(), own.problem());
  });
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, "COM3: " + pty.slavePath() + " is this program's own terminal, not a port");
}

TEST_F(PortOpenProblems, NodeOfAnotherGroupNamesTheGroupToJoin) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the pty to another group";
  const group* dialout = ::getgrnam("dialout");
  if (!dialout) GTEST_SKIP() << "no group dialout";
  ASSERT_EQ(::chown(pty.slavePath().c_str(), 0, dialout->gr_gid), 0);
  ASSERT_EQ(::chmod(pty.slavePath().c_str(), 0660), 0);

  std::optional<std::string> result = inChild([&] {
    if (!becomeNobody()) return std::string("setup");
    TermiosSerialPort theirs("/", PortPlaces{{}, {}});
    if (theirs.open(pty.slavePath(), 9600)) return std::string("opened");
    return std::to_string(theirs.problem().osError) + " " +
           describePortProblem("COM3:", theirs.problem());
  });
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, std::to_string(EACCES) + " COM3: " + pty.slavePath() +
                         " may not be opened by this user: join the group dialout and log in "
                         "again");
}

}  // namespace
