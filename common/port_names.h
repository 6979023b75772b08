#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Stored port names are "COM", one digit and ":" (the colon may be missing). COMn
// resolves to ./ports/COMn in the working directory when that exists (a link the
// operator or the module simulator makes, e.g. to /dev/ttyUSB0), otherwise to
// /dev/ttyS<n-1>. A name starting with '/' is a path as it stands. Anything else,
// the empty name included, names no port.
std::optional<std::filesystem::path> resolvePortName(const std::string& name,
                                                     const std::filesystem::path& workDir);
