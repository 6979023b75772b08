#pragma once

#include <string>

// An outside library loaded at run time by its file name through the normal library
// search path, with one export that takes no arguments. A missing library or export
// is silent: call() then does nothing. The library is never unloaded.
class OutsideLibrary {
 public:
  OutsideLibrary() = default;
  OutsideLibrary(const OutsideLibrary&) = delete;
  OutsideLibrary& operator=(const OutsideLibrary&) = delete;

  void load(const std::string& fileName, const std::string& exportName);
  bool loaded() const { return handle_ != nullptr; }
  bool hasEntry() const { return entry_ != nullptr; }
  // Calls the export when both the library and the export were found; its result,
  // if any, is not used.
  void call() const;

 private:
  void* handle_ = nullptr;
  void (*entry_)() = nullptr;
};
