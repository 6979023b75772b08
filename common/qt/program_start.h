#pragma once

#include <QApplication>
#include <filesystem>

// What a windowed program sets up once its command line let it go on: the Qt
// application, the quit signals caught while the window is built (a kill then still
// closes it properly), the program's name, and the working directory its settings
// files and port links live in. The directory was checked by the command line; should
// it go meanwhile, the files fail one by one and say so, so an error here leaves it
// empty.
class ProgramStart {
 public:
  ProgramStart(int& argc, char** argv, const char* name);

  const std::filesystem::path& workDir() const { return workDir_; }

 private:
  QApplication app_;
  std::filesystem::path workDir_;
};
