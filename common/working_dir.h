#pragma once

#include <filesystem>
#include <string>

// Where a program keeps its settings files. Started from a terminal, a program works in
// the directory it was started in, as it always has. Started from its desktop launcher
// (which passes --desktop), the directory would be the user's home folder, so both
// programs work instead in one shared folder under the user's data directory: there
// they still meet in ./commport, and outside programs find their files in one place.

// The shared folder's name under the user's data directory, after the module.
inline constexpr const char* kSharedFolderName = "zm40";

// The two variables that place the user's data directory; empty means unset.
struct DataDirEnvironment {
  std::string xdgDataHome;
  std::string home;

  // Read from this process: $XDG_DATA_HOME, and $HOME or else the password entry.
  static DataDirEnvironment fromProcess();
};

// The XDG base directory rule: $XDG_DATA_HOME when it is an absolute path (a relative
// or empty one is ignored), otherwise $HOME/.local/share. Empty when neither gives an
// absolute path.
std::filesystem::path userDataDir(const DataDirEnvironment& env);

// userDataDir()/zm40, or empty when there is no data directory.
std::filesystem::path sharedWorkDir(const DataDirEnvironment& env);

// Makes `dir` (with its parents) and the folders ./program and ./programEmail in it that
// Halvard needs and never makes itself; what exists already is kept as it is. True when
// all three are folders afterwards; otherwise `error` says which one could not be made.
bool prepareSharedWorkDir(const std::filesystem::path& dir, std::string& error);

// The directory this process was started in, or empty with `error` saying why: a shell
// can stand in a directory that has since been deleted, which has no path any more.
std::filesystem::path currentWorkDir(std::string& error);
