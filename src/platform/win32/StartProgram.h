#pragma once

#include <string>
#include <vector>

namespace skylane::win32 {

// Starts the program at `programPath` (the bytes of its line) in its own
// process, shown minimized, with `arguments` (ANSI bytes too) and no shell,
// and does not wait for it. False when it could not be started.
bool startMinimized(const std::string &programPath, const std::vector<std::string> &arguments);

} // namespace skylane::win32
