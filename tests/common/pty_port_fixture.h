#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_dir.h"
#include "pty_pair.h"

// A working folder in which "COM3:" is a fresh pseudo-terminal (ports/COM3 links to
// its slave) and the UUCP locks go to an empty lock/ folder: a port under test opens
// it as it would a module on the bench.
class PtyAtCom3 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    dir.makeDir("ports");
    dir.makeDir("lock");
    std::filesystem::create_symlink(pty.slavePath(), dir / "ports/COM3");
  }

  TempDir dir;
  PtyPair pty;
};
