#include "common/working_dir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

DataDirEnvironment DataDirEnvironment::fromProcess() {
  DataDirEnvironment env;
  if (const char* value = std::getenv("XDG_DATA_HOME")) env.xdgDataHome = value;
  if (const char* value = std::getenv("HOME")) env.home = value;
  if (env.home.empty()) {
    // A launcher always sets HOME; a stripped environment (sudo -i, a service) may not.
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
      env.home = entry->pw_dir;
    }
  }
  return env;
}

fs::path userDataDir(const DataDirEnvironment& env) {
  fs::path xdg(env.xdgDataHome);
  if (xdg.is_absolute()) return xdg;
  fs::path home(env.home);
  if (home.is_absolute()) return home / ".local" / "share";
  return {};
}

fs::path sharedWorkDir(const DataDirEnvironment& env) {
  fs::path dataDir = userDataDir(env);
  if (dataDir.empty()) return {};
  return dataDir / kSharedFolderName;
}

bool prepareSharedWorkDir(const fs::path& dir, std::string& error) {
  for (const fs::path& folder : {dir, dir / "program", dir / "programEmail"}) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder)) {
      error = "cannot make the folder " + folder.string() + (ec ? ": " + ec.message() : ": a file is in the way");
      return false;
    }
  }
  return true;
}
