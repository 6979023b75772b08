#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

// A program run by an end-to-end test: started in a working directory with extra
// environment variables and its output in a file, ended with SIGTERM (SIGKILL when it
// does not go within a few seconds) at the latest when the object goes.
class ChildProcess {
 public:
  ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& workDir, const std::vector<std::string>& extraEnv,
               const std::filesystem::path& outputFile);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool running();
  pid_t pid() const { return pid_; }
  void signal(int signo) const;
  // SIGTERM and wait; returns the wait status, or -1 when it was gone already.
  int stop();

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  int status_ = -1;
};
