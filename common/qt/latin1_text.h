#pragma once

#include <QString>
#include <string>
#include <string_view>

// The settings files and the serial line carry single bytes, so every text crosses
// between the logic and the widgets as Latin-1: each byte is one character and back.
// A character that Latin-1 cannot hold (typed by the operator) becomes '?'.
QString latin1ToQString(std::string_view bytes);
std::string qStringToLatin1(const QString& text);

// The text of a multi-line edit as it is shown. The pair CR LF is a line break, as it
// is in the settings and the display, and nothing else breaks a line. Every other
// control byte (a lone CR or LF, NUL, ESC...) is shown as its Unicode control picture
// (U+2400 + byte, so a lone CR is U+240D); a tab stays a tab. The mapping is
// reversible: the bytes read back from the control are exactly the bytes shown, so the
// store direction of the data exchange never alters the text.
QString bytesToDisplayText(std::string_view bytes);
std::string displayTextToBytes(const QString& shown);

// The text of a one-line edit as it is shown: every control byte but the tab (a NUL,
// a CR or LF from a file, a zero from the hex conversion) is its Unicode control
// picture, so the operator sees it rather than nothing, and it comes back as the same
// byte. A picture typed or pasted by the operator is taken as its byte.
QString bytesToFieldText(std::string_view bytes);
std::string fieldTextToBytes(const QString& shown);
