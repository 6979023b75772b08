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
    // Neither call may throw: a link that loops or a parent we may not search is a
    // folder that cannot be made, said like any other.
    std::error_code made;
    fs::create_directories(folder, made);
    std::error_code looked;
    if (fs::is_directory(folder, looked)) continue;
    const std::error_code& why = made ? made : looked;
    error = "cannot make the folder " + folder.string() + (why ? ": " + why.message() : ": a file is in the way");
    return false;
  }
  return true;
}

fs::path currentWorkDir(std::string& error) {
  std::error_code ec;
  fs::path dir = fs::current_path(ec);
  if (!ec) return dir;
  error = ec == std::errc::no_such_file_or_directory
              ? std::string("the current directory no longer exists: start from a folder that does")
              : "cannot tell the current directory: " + ec.message();
  return {};
}
