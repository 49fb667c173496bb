#pragma once

#include <string>

namespace skylane::win32 {

// The command line a started program receives: its path alone, quoted so
// that spaces stay part of it, with backslashes before the closing quote
// doubled so the program's argument parser does not take the quote as
// escaped. Empty when the path cannot be quoted (a quote in it, or a NUL).
std::wstring commandLineFor(const std::wstring &programPath);

} // namespace skylane::win32
