#include "common/qt/program_start.h"

#include <system_error>

#include "common/qt/quit_on_signals.h"

ProgramStart::ProgramStart(int& argc, char** argv, const char* name) : app_(argc, argv) {
  catchQuitSignals();
  QApplication::setApplicationName(QString::fromLatin1(name));
  std::error_code noDir;
  workDir_ = std::filesystem::current_path(noDir);
}
