#include "common/command_line.h"

#include <stdlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const ProgramInfo kProgram{"corvane", "The control and test program."};

// Runs the start-up as main() does, with this process's environment and directory set
// for the test and put back afterwards.
class CommandLineStart : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDir_ = fs::current_path();
    if (const char* value = ::getenv("XDG_DATA_HOME")) savedXdg_ = value;
    ::setenv("XDG_DATA_HOME", (data_ / "share").c_str(), 1);
    fs::current_path(started_.path());
  }
  void TearDown() override {
    fs::current_path(savedDir_);
    if (savedXdg_) {
      ::setenv("XDG_DATA_HOME", savedXdg_->c_str(), 1);
    } else {
      ::unsetenv("XDG_DATA_HOME");
    }
  }

  std::optional<int> start(std::vector<std::string> args) {
    args.insert(args.begin(), "corvane");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    out_.str("");
    err_.str("");
    return startFromCommandLine(kProgram, static_cast<int>(args.size()), argv.data(), out_, err_);
  }

  TempDir data_;
  TempDir started_;
  std::ostringstream out_;
  std::ostringstream err_;

 private:
  fs::path savedDir_;
  std::optional<std::string> savedXdg_;
};

TEST_F(CommandLineStart, PlainStartOpensTheWindowWhereItWasStarted) {
  EXPECT_EQ(start({}), std::nullopt);
  EXPECT_EQ(fs::current_path(), started_.path());
  EXPECT_FALSE(data_.exists("share"));
  EXPECT_EQ(out_.str() + err_.str(), "");
}

TEST_F(CommandLineStart, LauncherStartWorksInTheSharedFolderMadeOnFirstUse) {
  EXPECT_EQ(start({"--desktop"}), std::nullopt);
  EXPECT_EQ(fs::current_path(), data_ / "share/zm40");
  EXPECT_TRUE(data_.exists("share/zm40/program"));
  EXPECT_TRUE(data_.exists("share/zm40/programEmail"));
  EXPECT_EQ(out_.str() + err_.str(), "");
}

TEST_F(CommandLineStart, LauncherStartThatCannotMakeTheFolderEndsAndSaysWhy) {
  data_.write("share", "a file where the data directory should be");
  EXPECT_EQ(start({"--desktop"}), 1);
  EXPECT_EQ(fs::current_path(), started_.path());
  EXPECT_NE(err_.str().find("corvane: cannot make the folder " + (data_ / "share/zm40").string()),
            std::string::npos) << err_.str();
}

TEST_F(CommandLineStart, HelpNamesTheFolderInUseAndEnds) {
  EXPECT_EQ(start({"--help"}), 0);
  EXPECT_NE(out_.str().find("usage: corvane [--desktop]"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("Working folder: " + started_.path().string() + " (the current directory)"),
            std::string::npos) << out_.str();

  EXPECT_EQ(start({"--desktop", "-h"}), 0);
  EXPECT_NE(out_.str().find("Working folder: " + (data_ / "share/zm40").string() + " (--desktop)"),
            std::string::npos) << out_.str();
  // Asking is not using: the folder is made only by a start that opens the window.
  EXPECT_FALSE(data_.exists("share"));
  EXPECT_EQ(fs::current_path(), started_.path());
}

TEST_F(CommandLineStart, VersionPrintsTheProjectVersionAndEnds) {
  EXPECT_EQ(start({"--version"}), 0);
  EXPECT_EQ(out_.str(), std::string("corvane ") + programVersion() + "\n");
  EXPECT_THAT(std::string(programVersion()), ::testing::MatchesRegex("[0-9]+\\.[0-9]+\\.[0-9]+"));
}

TEST_F(CommandLineStart, AnythingElseIsRefusedWithoutOpeningTheWindow) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"--hlep"}, {"-platform", "offscreen"}, {"settings.txt"}, {"--desktop", "--folder=/tmp"},
           {"--version", "-x"}}) {
    EXPECT_EQ(start(args), 2) << args[0];
    EXPECT_EQ(out_.str(), "");
    EXPECT_NE(err_.str().find("corvane: "), std::string::npos);
    EXPECT_NE(err_.str().find("try corvane --help"), std::string::npos);
  }
  EXPECT_NE((start({"--hlep"}), err_.str()).find("unknown option --hlep"), std::string::npos);
  EXPECT_NE((start({"notes"}), err_.str()).find("unexpected argument notes"), std::string::npos);
  EXPECT_FALSE(data_.exists("share"));
}

}  // namespace
