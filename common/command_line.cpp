#include "common/command_line.h"

#include <iostream>
#include <system_error>

#ifndef ZM_VERSION
#error "ZM_VERSION is set from the project's version (cmake/install.cmake)"
#endif

namespace fs = std::filesystem;

const char* programVersion() { return ZM_VERSION; }

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      line.action = CommandLine::Action::Help;
    } else if (arg == "--version") {
      // --help wins when both are given, as it tells more.
      if (line.action != CommandLine::Action::Help) line.action = CommandLine::Action::Version;
    } else if (arg == "--desktop") {
      line.desktop = true;
    } else {
      line.action = CommandLine::Action::Refuse;
      line.error = (arg.size() > 1 && arg[0] == '-' ? "unknown option " : "unexpected argument ") + arg;
      return line;
    }
  }
  return line;
}

std::string usageText(const ProgramInfo& program, const CommandLine& line, const fs::path& workDir) {
  const std::string shared = kSharedFolderName;
  std::string where = workDir.string() + (line.desktop ? " (--desktop)" : " (the current directory)");
  if (workDir.empty()) {
    where = line.desktop ? "none, since neither $XDG_DATA_HOME nor $HOME is set" : "none, the current directory is gone";
  }
  return "usage: " + program.name + " [--desktop]\n" +
         "       " + program.name + " --help | --version\n" +
         program.summary + "\n\n" +
         "  --desktop   work in the folder that Corvane and Halvard share, $XDG_DATA_HOME/" + shared + "\n" +
         "              (by default ~/.local/share/" + shared + "), made with ./program and\n" +
         "              ./programEmail when missing; the menu launchers start the programs so\n" +
         "  --help      show this text and end\n" +
         "  --version   show the version and end\n\n" +
         "Without --desktop, the program works in the current directory.\n" +
         "Working folder: " + where + "\n" +
         "The files, the port names and the status line: man " + program.name + "\n";
}

std::string versionText(const ProgramInfo& program) {
  return program.name + " " + programVersion() + "\n";
}

fs::path chooseWorkDir(const CommandLine& line, const DataDirEnvironment& env, const fs::path& currentDir) {
  if (line.desktop) return sharedWorkDir(env);
  return currentDir;
}

std::optional<int> startFromCommandLine(const ProgramInfo& program, int argc, char** argv,
                                        std::ostream& out, std::ostream& err) {
  CommandLine line = parseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  if (line.action == CommandLine::Action::Refuse) {
    err << program.name << ": " << line.error << " (try " << program.name << " --help)\n";
    return 2;
  }
  if (line.action == CommandLine::Action::Version) {
    out << versionText(program);
    return 0;
  }
  std::string noCurrentDir;
  fs::path currentDir = currentWorkDir(noCurrentDir);
  fs::path workDir = chooseWorkDir(line, DataDirEnvironment::fromProcess(), currentDir);
  if (line.action == CommandLine::Action::Help) {
    out << usageText(program, line, workDir);
    return 0;
  }
  if (!line.desktop) {
    if (!currentDir.empty()) return std::nullopt;
    err << program.name << ": " << noCurrentDir << "\n";
    return 1;
  }
  if (workDir.empty()) {
    err << program.name << ": no folder to work in: neither $XDG_DATA_HOME nor $HOME is set\n";
    return 1;
  }
  std::string error;
  if (!prepareSharedWorkDir(workDir, error)) {
    err << program.name << ": " << error << "\n";
    return 1;
  }
  std::error_code ec;
  fs::current_path(workDir, ec);
  if (ec) {
    err << program.name << ": cannot work in " << workDir.string() << ": " << ec.message() << "\n";
    return 1;
  }
  return std::nullopt;
}

std::optional<int> startFromCommandLine(const ProgramInfo& program, int argc, char** argv) {
  return startFromCommandLine(program, argc, argv, std::cout, std::cerr);
}
