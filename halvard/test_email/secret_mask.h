#pragma once

#include <string>
#include <string_view>

// Hides what a login sends before any line of the conversation is kept or shown: the
// mechanism of "AUTH PLAIN <token>" stays, the token goes; every line the client sends
// in answer to the server's 334 challenges (user name and password, each base64) goes.
// Fed with every line in the order they pass, both ways.
class SecretMask {
 public:
  static constexpr std::string_view kHidden = "(hidden)";

  // The client's line as it may be kept.
  std::string clientLine(std::string_view line);
  // The server's line; it is never secret, but its code ends a login exchange.
  void serverLine(std::string_view line);

 private:
  bool inLogin_ = false;
};
