#pragma once

#include <string>

struct HICON__;

namespace skylane::win32 {

// The shell's small icon for the file at `programPath` (the bytes of its
// line); the caller destroys it with DestroyIcon. `found` tells whether the
// path names a file at all; the icon may still be null when the shell has
// none to give.
HICON__ *smallIcon(const std::string &programPath, bool &found);

} // namespace skylane::win32
