#pragma once

#include <filesystem>
#include <string>

namespace zmsim {

// The port-name link that makes the simulator COMn: for a program started in a
// working directory (DIR/ports/COMn pointing at the pseudo-terminal). A stale link
// left by a simulator that was killed is replaced; anything that is not a link is
// left alone and reported.
bool makePortLink(const std::filesystem::path& link, const std::string& target,
                  std::string& error);
// Removes the link only while it still points at target: another simulator may have
// taken the name since.
void removePortLink(const std::filesystem::path& link, const std::string& target);

}  // namespace zmsim
