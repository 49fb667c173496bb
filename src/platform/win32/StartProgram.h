#pragma once

#include <string>

namespace skylane::win32 {

// Starts the program at `programPath` (the bytes of its line) in its own
// process, shown minimized, with no arguments and no shell, and does not
// wait for it. False when it could not be started.
bool startMinimized(const std::string &programPath);

} // namespace skylane::win32
