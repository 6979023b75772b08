#include "common/port_names.h"

#include <gtest/gtest.h>

#include "fakes/temp_dir.h"

namespace {

TEST(PortNames, StoredNamesFallBackToTheSerialDevices) {
  TempDir dir;
  EXPECT_EQ(resolvePortName("COM1:", dir.path()), std::filesystem::path("/dev/ttyS0"));
  EXPECT_EQ(resolvePortName("COM3", dir.path()), std::filesystem::path("/dev/ttyS2"));
  EXPECT_EQ(resolvePortName("COM9:", dir.path()), std::filesystem::path("/dev/ttyS8"));
}

TEST(PortNames, LinkInThePortsFolderWinsEvenWhenItsTargetIsGone) {
  TempDir dir;
  dir.makeDir("ports");
  std::filesystem::create_symlink("/dev/null", dir / "ports/COM3");
  std::filesystem::create_symlink(dir / "unplugged", dir / "ports/COM4");
  EXPECT_EQ(resolvePortName("COM3:", dir.path()), dir / "ports/COM3");
  EXPECT_EQ(resolvePortName("COM3", dir.path()), dir / "ports/COM3");
  EXPECT_EQ(resolvePortName("COM4:", dir.path()), dir / "ports/COM4");
  EXPECT_EQ(resolvePortName("COM5:", dir.path()), std::filesystem::path("/dev/ttyS4"));
}

TEST(PortNames, AbsolutePathIsUsedAsItStands) {
  TempDir dir;
  EXPECT_EQ(resolvePortName("/dev/ttyUSB0", dir.path()), std::filesystem::path("/dev/ttyUSB0"));
}

TEST(PortNames, AnythingElseNamesNoPort) {
  TempDir dir;
  dir.makeDir("ports");
  dir.write("ports/foo", "");
  for (const char* name : {"", "COM", "COM:", "COM0:", "COM0", "COM10:", "COM10", "com3:",
                           "COMA:", "COM3;", "COM3::", " COM3:", "foo", "ports/COM3", "../COM3",
                           "\\\\.\\COM3"}) {
    EXPECT_EQ(resolvePortName(name, dir.path()), std::nullopt) << '"' << name << '"';
  }
}

}  // namespace
