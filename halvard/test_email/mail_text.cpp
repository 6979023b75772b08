#include "halvard/test_email/mail_text.h"

#include <cstdio>

namespace mail_text {

namespace {

constexpr std::size_t kQpLineChars = 76;
constexpr char kHex[] = "0123456789ABCDEF";

bool isPrintableAscii(std::string_view text) {
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F) return false;
  }
  return true;
}

std::string base64(std::string_view bytes) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    unsigned n = (static_cast<unsigned char>(bytes[i]) << 16) |
                 (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
    out +=
        {kAlphabet[(n >> 18) & 63], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63], kAlphabet[n & 63]};
  }
  if (i < bytes.size()) {
    unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string encodedWord(std::string_view latin1) {
  return "=?UTF-8?B?" + base64(latin1ToUtf8(latin1)) + "?=";
}

}  // namespace

std::string latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char c : latin1) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

std::string singleLine(std::string_view latin1) {
  std::string out;
  bool gap = false;
  for (char c : latin1) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == ' ') {
      gap = true;
      continue;
    }
    if (gap && !out.empty()) out += ' ';
    gap = false;
    out += c;
  }
  return out;
}

std::string headerText(std::string_view latin1) {
  std::string line = singleLine(latin1);
  return isPrintableAscii(line) ? line : encodedWord(line);
}

std::string displayName(std::string_view latin1) {
  std::string line = singleLine(latin1);
  if (!isPrintableAscii(line)) return encodedWord(line);
  std::string quoted = "\"";
  for (char c : line) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string quotedPrintable(std::string_view utf8) {
  std::string out;
  std::size_t column = 0;
  auto put = [&](std::string_view piece) {
    // A soft break keeps each line within the limit, "=" included.
    if (column + piece.size() > kQpLineChars - 1) {
      out += "=\r\n";
      column = 0;
    }
    out += piece;
    column += piece.size();
  };
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    char c = utf8[i];
    if (c == '\r' || c == '\n') {
      // A blank at a line's end would be lost on the way: it goes encoded.
      if (!out.empty() && column > 0 && (out.back() == ' ' || out.back() == '\t')) {
        char last = out.back();
        out.pop_back();
        --column;
        put(last == ' ' ? "=20" : "=09");
      }
      out += "\r\n";
      column = 0;
      if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      continue;
    }
    auto byte = static_cast<unsigned char>(c);
    bool literal = (byte >= 0x20 && byte < 0x7F && c != '=') || c == '\t';
    // A line that starts with a dot or "From " is left alone by every server this way.
    if (column == 0 && (c == '.' || c == 'F')) literal = false;
    if (literal) {
      put(std::string_view(&utf8[i], 1));
    } else {
      const char code[3] = {'=', kHex[byte >> 4], kHex[byte & 15]};
      put(std::string_view(code, 3));
    }
  }
  return out;
}

std::string addressProblem(std::string_view address) {
  if (address.empty()) return "is empty";
  if (address.front() == ' ' || address.front() == '\t' || address.back() == ' ' || address.back() == '\t')
    return "has a blank before or after the address";
  for (char c : address) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return "holds a line end or another control character";
    if (c == ' ' || c == '<' || c == '>' || c == ',' || c == ';') {
      return std::string("holds '") + c + "', which no plain address has";
    }
  }
  std::size_t at = address.rfind('@');
  if (at == std::string_view::npos) return "has no '@': an address is user@domain";
  std::string_view user = address.substr(0, at);
  std::string_view domain = address.substr(at + 1);
  if (user.empty()) return "has no user before the '@'";
  if (domain.empty()) return "has no domain after the '@'";
  if (domain.front() == '.' || domain.back() == '.' || domain.find("..") != std::string_view::npos) {
    return "has a domain with an empty part between dots";
  }
  return {};
}

std::string rfc5322Date(std::time_t when) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm local{};
  localtime_r(&when, &local);
  long offsetMin = local.tm_gmtoff / 60;
  char sign = offsetMin < 0 ? '-' : '+';
  if (offsetMin < 0) offsetMin = -offsetMin;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", kDays[local.tm_wday % 7],
                local.tm_mday, kMonths[local.tm_mon % 12], local.tm_year + 1900, local.tm_hour, local.tm_min,
                local.tm_sec, sign, offsetMin / 60, offsetMin % 60);
  return text;
}

}  // namespace mail_text
