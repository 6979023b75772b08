#include "common/command_line.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <system_error>

#ifndef ZM_VERSION
#error "ZM_VERSION is set from the project's version (cmake/install.cmake)"
#endif

namespace fs = std::filesystem;

const char* programVersion() { return ZM_VERSION; }

CommandLine parseCommandLine(const std::vector<std::string>& args, bool plans) {
  CommandLine line;
  bool help = false;
  bool version = false;
  CLI::App app;
  app.set_help_flag();  // our own, so that --help names the folder in use
  app.allow_extras();   // refused below, in our own words
  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  app.add_flag("--desktop", line.desktop);
  if (plans) {
    app.add_option("--run", line.runPlan);
    app.add_option("--check", line.checkPlan);
    app.add_option("--junit", line.junitFile);
    app.add_option("--json", line.jsonFile);
  }
  auto refuse = [&line](std::string error) {
    line.action = CommandLine::Action::Refuse;
    line.error = std::move(error);
    return line;
  };
  try {
    app.parse(std::vector<std::string>(args.rbegin(), args.rend()));  // CLI11 takes them last first
  } catch (const CLI::ParseError& error) {
    return refuse(error.what());
  }
  if (const std::vector<std::string> extras = app.remaining(); !extras.empty()) {
    const std::string& arg = extras.front();
    return refuse((arg.size() > 1 && arg[0] == '-' ? "unknown option " : "unexpected argument ") + arg);
  }
  if (!line.runPlan.empty() && !line.checkPlan.empty()) return refuse("--run and --check go one at a time");
  if ((!line.junitFile.empty() || !line.jsonFile.empty()) && line.runPlan.empty())
    return refuse("--junit and --json go with --run");
  // --help wins when both are given, as it tells more.
  if (help) line.action = CommandLine::Action::Help;
  else if (version) line.action = CommandLine::Action::Version;
  return line;
}

std::string usageText(const ProgramInfo& program, const CommandLine& line, const fs::path& workDir) {
  const std::string shared = kSharedFolderName;
  std::string where = workDir.string() + (line.desktop ? " (--desktop)" : " (the current directory)");
  if (workDir.empty()) {
    where = line.desktop ? "none, since neither $XDG_DATA_HOME nor $HOME is set" : "none, the current directory is gone";
  }
  const std::string planUsage =
      !program.plans ? std::string()
                     : "       " + program.name + " [--desktop] --run PLAN [--junit FILE] [--json FILE]\n" +
                           "       " + program.name + " --check PLAN\n";
  const std::string planOptions =
      !program.plans ? std::string()
                     : std::string("  --run PLAN    run the test plan PLAN without a window; exit status 0 when\n") +
                           "                every case passed, 1 when one failed, 2 when the plan or the port\n" +
                           "                could not be used, 130 or 143 after SIGINT or SIGTERM\n" +
                           "  --junit FILE  with --run: keep a JUnit XML report in FILE, rewritten after each case\n" +
                           "  --json FILE   with --run: the same report as JSON\n" +
                           "  --check PLAN  check the test plan PLAN without a port: its syntax, its values and\n" +
                           "                what each of its messages means\n";
  return "usage: " + program.name + " [--desktop]\n" + planUsage +
         "       " + program.name + " --help | --version\n" +
         program.summary + "\n\n" +
         "  --desktop   work in the folder that Corvane and Halvard share, $XDG_DATA_HOME/" + shared + "\n" +
         "              (by default ~/.local/share/" + shared + "), made with ./program and\n" +
         "              ./programEmail when missing; the menu launchers start the programs so\n" +
         planOptions +
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
  CommandLine line =
      parseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), program.plans);
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
