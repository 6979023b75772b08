#pragma once

#include <filesystem>
#include <string>

// Replaces a report file whole: the text goes to a temporary file beside it, which is
// then renamed over it, so a reader (or a kill in the middle) sees the old report or the
// new one, never half of one. Returns false and says why in error when it could not.
bool replaceFileWhole(const std::filesystem::path& path, const std::string& text, std::string& error);
