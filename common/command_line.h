#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "common/working_dir.h"

// The command line of Corvane and Halvard. The programs have no settings on the command
// line: --help and --version print and end, as every Linux command does, and --desktop,
// which only the desktop launchers pass, makes the program work in the shared folder
// (common/working_dir.h) instead of the current directory. Corvane also takes its test
// plans: --check PLAN, and --run PLAN with --junit FILE and --json FILE
// (corvane/plan/plan_command.h). Anything else is refused.

// The version of the programs, from the project's version in CMakeLists.txt.
const char* programVersion();

struct ProgramInfo {
  std::string name;     // the command, "corvane"
  std::string summary;  // one line for --help: what the program is
  bool plans = false;   // takes --run, --check, --junit and --json (Corvane)
};

struct CommandLine {
  enum class Action { Run, Help, Version, Refuse };
  Action action = Action::Run;
  bool desktop = false;  // --desktop: work in the shared folder
  std::string error;     // Refuse: what was wrong
  // With plans: the plan to run or to check (at most one), and the report files of a run.
  std::string runPlan;
  std::string checkPlan;
  std::string junitFile;
  std::string jsonFile;
};

CommandLine parseCommandLine(const std::vector<std::string>& args, bool plans = false);

// The --help text, naming the folder that the program would work in: `workDir`.
std::string usageText(const ProgramInfo& program, const CommandLine& line,
                      const std::filesystem::path& workDir);
std::string versionText(const ProgramInfo& program);

// The folder a program started with `line` works in: the shared folder for --desktop,
// otherwise `currentDir`. Empty for --desktop when the user has no data directory.
std::filesystem::path chooseWorkDir(const CommandLine& line, const DataDirEnvironment& env,
                                    const std::filesystem::path& currentDir);

// What main() does before the window system starts. Prints --help or --version to `out`
// and returns 0; refuses an unknown argument on `err` with 2; for --desktop makes the
// shared folder and changes into it, or says why not on `err` and returns 1, as it
// does for a current directory that has been deleted. Returns nothing when the program
// goes on to open its window, in its working directory.
std::optional<int> startFromCommandLine(const ProgramInfo& program, int argc, char** argv,
                                        std::ostream& out, std::ostream& err);

// The same on std::cout and std::cerr.
std::optional<int> startFromCommandLine(const ProgramInfo& program, int argc, char** argv);
