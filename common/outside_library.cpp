#include "common/outside_library.h"

#include <dlfcn.h>

void OutsideLibrary::load(const std::string& fileName, const std::string& exportName) {
  handle_ = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) return;
  // dlsym hands back an object pointer; the export is a function of no arguments.
  void* symbol = ::dlsym(handle_, exportName.c_str());
  entry_ = reinterpret_cast<void (*)()>(symbol);
}

void OutsideLibrary::call() const {
  if (handle_ != nullptr && entry_ != nullptr) entry_();
}
