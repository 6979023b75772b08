#include "common/outside_library.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A missing library or one without the entry loads silently and a call does nothing.
TEST(OutsideLibrary, OnlyAFoundExportIsReachedAndTheRestIsSilent) {
  struct Case {
    const char* file;
    const char* entry;
    bool loaded;
    bool hasEntry;
  };
  for (const Case& c : {Case{"libpellix.so", "MyBeep", false, false},
                        Case{"libm.so.6", "MyBeep", true, false}, Case{"libm.so.6", "cos", true, true}}) {
    SCOPED_TRACE(std::string(c.file) + " " + c.entry);
    OutsideLibrary library;
    library.load(c.file, c.entry);
    EXPECT_EQ(library.loaded(), c.loaded);
    EXPECT_EQ(library.hasEntry(), c.hasEntry);
    if (!c.hasEntry) library.call();
  }
}

}  // namespace
