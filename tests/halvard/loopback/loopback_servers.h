#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "fakes/temp_dir.h"

extern char** environ;

// The SMTP servers of smtp_servers.py, started for one test in a folder of its own and
// ended with it. ready() is false when Python or aiosmtpd is missing or a server did
// not come up within the start-up bound; the tests then fail with that reason.
class LoopbackServers {
 public:
  static constexpr const char* kUser = "alarm";
  static constexpr const char* kPassword = "Pw-s3cret!x";
  static constexpr const char* kRefused = "refused@example.com";

  LoopbackServers() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    stdinWrite_ = fds[1];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
    const std::string script = std::string(ZM_SOURCE_DIR) + "/tests/halvard/loopback/smtp_servers.py";
    const std::string folder = dir_.path().string();
    std::vector<char*> argv{const_cast<char*>("/usr/bin/python3"), const_cast<char*>(script.c_str()),
                            const_cast<char*>(folder.c_str()), nullptr};
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[0]);
    if (pid_ > 0) waitUntilReady();
  }

  ~LoopbackServers() {
    if (stdinWrite_ >= 0) ::close(stdinWrite_);  // the script ends when its stdin closes
    if (pid_ > 0) {
      for (int i = 0; i < 100 && ::waitpid(pid_, nullptr, WNOHANG) == 0; ++i) pause(20);
      if (::waitpid(pid_, nullptr, WNOHANG) == 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
      }
    }
  }

  bool ready() const { return ready_; }
  int port(const std::string& name) const {
    auto it = ports_.find(name);
    return it == ports_.end() ? 0 : it->second;
  }
  std::string caFile() const { return (dir_.path() / "ca.crt").string(); }
  std::string plainLog() const { return dir_.read("plain.log"); }

  // The messages the servers accepted, in order.
  std::vector<nlohmann::json> mails() const {
    std::vector<nlohmann::json> found;
    for (int n = 1; std::filesystem::exists(dir_ / ("mail-" + std::to_string(n) + ".json")); ++n) {
      found.push_back(nlohmann::json::parse(dir_.read("mail-" + std::to_string(n) + ".json")));
    }
    return found;
  }

  // A port on which nothing listens: bound and closed again.
  static int closedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
  }

 private:
  static void pause(int ms) {
    timespec wait{0, ms * 1000000L};
    ::nanosleep(&wait, nullptr);
  }

  static bool accepts(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
  }

  // Certificates and five servers take Python a second or two; a loaded machine more.
  void waitUntilReady() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!dir_.exists("ports")) {
      if (std::chrono::steady_clock::now() > deadline || ::waitpid(pid_, nullptr, WNOHANG) != 0) return;
      pause(50);
    }
    std::ifstream in(dir_ / "ports");
    std::string name;
    int port = 0;
    while (in >> name >> port) ports_[name] = port;
    for (const auto& [server, number] : ports_) {
      // The silent one also accepts: the connection alone proves it listens.
      while (!accepts(number)) {
        if (std::chrono::steady_clock::now() > deadline) return;
        pause(50);
      }
    }
    ready_ = ports_.size() == 5;
  }

  TempDir dir_;
  pid_t pid_ = -1;
  int stdinWrite_ = -1;
  bool ready_ = false;
  std::map<std::string, int> ports_;
};
