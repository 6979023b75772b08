#pragma once

#include <string>

#include "common/outside_library.h"

// The sound of the abort button: the export MyBeep of the module maker's library
// pellix.dll. The dialog is given one at construction; load() runs at its place in
// start-up, beep() at the start of every abort.
class Beep {
 public:
  virtual ~Beep() = default;
  // Finds the library and its export; a missing one is silent and beep() then does
  // nothing.
  virtual void load() = 0;
  virtual void beep() = 0;
};

// MyBeep of the outside library, loaded by its platform file name ("libpellix.so" for
// pellix.dll) through the normal library search path. Never unloaded.
class PellixBeep : public Beep {
 public:
  explicit PellixBeep(std::string libraryFile = "libpellix.so")
      : libraryFile_(std::move(libraryFile)) {}

  void load() override { library_.load(libraryFile_, "MyBeep"); }
  void beep() override { library_.call(); }
  bool found() const { return library_.hasEntry(); }

 private:
  std::string libraryFile_;
  OutsideLibrary library_;
};
