#include "halvard/test_email/smtp_routes.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kImplicitTlsPort = 465;
constexpr int kSubmissionPort = 587;
constexpr int kRelayPort = 25;

std::string_view trimmed(std::string_view text) {
  auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool consumePrefix(std::string_view& text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  text.remove_prefix(prefix.size());
  return true;
}

// 1 to 65535, digits only; 0 when it is not a port.
int parsePort(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return 0;
  int port = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    port = port * 10 + (c - '0');
  }
  return port <= 65535 ? port : 0;
}

bool hostIsSound(std::string_view host) {
  return !host.empty() && std::none_of(host.begin(), host.end(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte >= 0x7F || c == '/' || c == '@' || c == '?' || c == '#';
  });
}

}  // namespace

SmtpRoutes smtpRoutesFor(std::string_view serverField, bool withPassword) {
  SmtpRoutes result;
  std::string_view text = trimmed(serverField);
  bool implicitScheme = false;
  if (consumePrefix(text, "smtps://")) {
    implicitScheme = true;
  } else {
    consumePrefix(text, "smtp://");
  }
  if (!text.empty() && text.back() == '/') text.remove_suffix(1);
  if (text.empty()) {
    result.problem = "SMTP SERVER is empty: type the name of the mail server, e.g. smtp.example.com";
    return result;
  }
  std::string_view host = text;
  std::string_view portText;
  bool hasPort = false;
  if (text.front() == '[') {
    std::size_t close = text.find(']');
    if (close == std::string_view::npos) {
      result.problem = "SMTP SERVER has a '[' without its ']'";
      return result;
    }
    host = text.substr(1, close - 1);
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') {
        result.problem = "SMTP SERVER has text after its ']' that is not :port";
        return result;
      }
      hasPort = true;
      portText = rest.substr(1);
    }
  } else if (std::count(text.begin(), text.end(), ':') == 1) {
    std::size_t colon = text.find(':');
    host = text.substr(0, colon);
    portText = text.substr(colon + 1);
    hasPort = true;
  }
  // More than one colon without brackets: an IPv6 address alone.
  if (!hostIsSound(host)) {
    result.problem = "SMTP SERVER \"" + std::string(host) +
                     "\" is not a server name: a name such as smtp.example.com, with :port if needed";
    return result;
  }
  const TlsMode startTls = withPassword ? TlsMode::kStartTlsRequired : TlsMode::kStartTlsIfOffered;
  if (hasPort) {
    int port = parsePort(portText);
    if (port == 0) {
      result.problem = "SMTP SERVER: \"" + std::string(portText) + "\" is not a port number (1 to 65535)";
      return result;
    }
    TlsMode tls = (implicitScheme || port == kImplicitTlsPort) ? TlsMode::kImplicit : startTls;
    result.routes.push_back({std::string(host), port, tls});
    return result;
  }
  if (implicitScheme) {
    result.routes.push_back({std::string(host), kImplicitTlsPort, TlsMode::kImplicit});
    return result;
  }
  result.automatic = true;
  result.routes = {{std::string(host), kImplicitTlsPort, TlsMode::kImplicit},
                   {std::string(host), kSubmissionPort, startTls},
                   {std::string(host), kRelayPort, startTls}};
  return result;
}

std::string describeRoute(const SmtpRoute& route) {
  bool v6 = route.host.find(':') != std::string::npos;
  std::string where = (v6 ? "[" + route.host + "]" : route.host) + ":" + std::to_string(route.port);
  switch (route.tls) {
    case TlsMode::kImplicit:
      return where + " (TLS from the start)";
    case TlsMode::kStartTlsRequired:
      return where + " (STARTTLS)";
    case TlsMode::kStartTlsIfOffered:
      return where + " (STARTTLS when offered)";
  }
  return where;
}
