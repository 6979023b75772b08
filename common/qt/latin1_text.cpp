#include "common/qt/latin1_text.h"

namespace {

constexpr char16_t kControlPictures = 0x2400;  // U+2400 SYMBOL FOR NULL
constexpr char16_t kParagraphSeparator = 0x2029;  // how QTextDocument joins blocks

bool isShownAsPicture(unsigned char byte) { return byte < 0x20 && byte != '\t'; }

// The byte a shown character stands for: a control picture its control byte, Latin-1 as
// it is, anything else '?'.
char shownToByte(char16_t code) {
  if (code >= kControlPictures && code < kControlPictures + 0x20) {
    return static_cast<char>(code - kControlPictures);
  }
  return code < 0x100 ? static_cast<char>(code) : '?';
}

}  // namespace

QString latin1ToQString(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string qStringToLatin1(const QString& text) {
  QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString bytesToDisplayText(std::string_view bytes) {
  QString shown;
  shown.reserve(static_cast<qsizetype>(bytes.size()));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      shown += QChar(u'\n');
      ++i;
    } else if (isShownAsPicture(byte)) {
      shown += QChar(static_cast<char16_t>(kControlPictures + byte));
    } else {
      shown += QChar(static_cast<char16_t>(byte));
    }
  }
  return shown;
}

std::string displayTextToBytes(const QString& shown) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(shown.size()));
  for (QChar c : shown) {
    char16_t code = c.unicode();
    if (code == u'\n' || code == kParagraphSeparator) {
      bytes += "\r\n";
    } else {
      bytes += shownToByte(code);
    }
  }
  return bytes;
}

QString bytesToFieldText(std::string_view bytes) {
  QString shown;
  shown.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    shown += QChar(static_cast<char16_t>(isShownAsPicture(byte) ? kControlPictures + byte : byte));
  }
  return shown;
}

std::string fieldTextToBytes(const QString& shown) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(shown.size()));
  for (QChar c : shown) bytes += shownToByte(c.unicode());
  return bytes;
}
