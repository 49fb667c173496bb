#pragma once

#include <optional>
#include <string>

namespace skylane::win32 {

// A path as the program keeps it (the bytes of its line, in the ANSI code
// page) as the UTF-16 the wide API takes. Nothing when a byte has no
// character in that code page or the path holds a NUL: the call would
// otherwise reach a different file.
std::optional<std::wstring> widePath(const std::string &bytes);

} // namespace skylane::win32
