// What Corvane says at start-up on real ports: the operator's own terminal is never
// opened as one, and a device node of another group names the group to join.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "common/child_process.h"
#include "common/pty_pair.h"
#include "common/termios_serial_port.h"
#include "corvane/corvane_dlg.h"
#include "corvane_outside.h"
#include "fakes/fake_control_panel.h"
#include "fakes/temp_dir.h"
#include "fakes/virtual_clock.h"

namespace {

// Corvane's start-up in dir on the real port; returns every status message, one a line.
std::string startUpIn(const std::filesystem::path& dir, bool* opened = nullptr) {
  VirtualClock clock;
  TermiosSerialPort port(dir, PortPlaces{{}, {}});
  FakeControlPanel panel;
  CorvaneOutside outside(dir);
  CCorvaneDlg dlg(outside.env(port, clock, panel));
  dlg.startUp();
  if (opened) *opened = port.isOpen();
  std::string lines;
  for (const std::string& m : outside.status.messages) lines += m + "\n";
  return lines;
}

TEST(RealPortStatus, AStoredDevTtyIsRefusedAndSaid) {
  TempDir dir;
  // What an eight-byte cut of "/dev/ttyUSB0" left in ./commport before.
  dir.write("commport", "/dev/tty");
  bool opened = true;
  EXPECT_EQ(startUpIn(dir.path(), &opened),
            "/dev/tty: the device is this program's own terminal, not a port\n");
  EXPECT_FALSE(opened);
}

TEST(RealPortStatus, ANodeOfAnotherGroupNamesTheGroupToJoin) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the pty to another group";
  const group* dialout = ::getgrnam("dialout");
  if (!dialout) GTEST_SKIP() << "no group dialout";
  TempDir dir;
  PtyPair pty;
  ASSERT_TRUE(pty.ok());
  ASSERT_EQ(::chown(pty.slavePath().c_str(), 0, dialout->gr_gid), 0);
  ASSERT_EQ(::chmod(pty.slavePath().c_str(), 0660), 0);
  dir.makeDir("ports");
  std::filesystem::create_symlink(pty.slavePath(), dir / "ports/COM3");
  dir.write("commport", "COM3:");
  // The user outside the group works in a folder of its own.
  ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
  ASSERT_EQ(::chmod((dir / "commport").c_str(), 0666), 0);

  std::optional<std::string> said = inChild([&] {
    if (!becomeNobody()) return std::string("setup");
    return startUpIn(dir.path());
  });
  ASSERT_TRUE(said);
  EXPECT_EQ(*said, "COM3: " + pty.slavePath() +
                       " may not be opened by this user: join the group dialout and log in "
                       "again\n");
}

}  // namespace
