#include "common/outside_library.h"

#include <gtest/gtest.h>

namespace {

TEST(OutsideLibrary, MissingLibraryIsSilent) {
  OutsideLibrary library;
  library.load("libpellix.so", "MyBeep");
  EXPECT_FALSE(library.loaded());
  EXPECT_FALSE(library.hasEntry());
  library.call();
}

TEST(OutsideLibrary, LibraryWithoutTheExportIsSilent) {
  OutsideLibrary library;
  library.load("libm.so.6", "MyBeep");
  EXPECT_TRUE(library.loaded());
  EXPECT_FALSE(library.hasEntry());
  library.call();
}

TEST(OutsideLibrary, FoundExportIsReached) {
  OutsideLibrary library;
  library.load("libm.so.6", "cos");
  EXPECT_TRUE(library.hasEntry());
}

}  // namespace
