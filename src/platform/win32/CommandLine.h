#pragma once

#include <string>
#include <vector>

namespace skylane::win32 {

// The command line a started program receives: its path alone, quoted so
// that spaces stay part of it, with backslashes before the closing quote
// doubled so the program's argument parser does not take the quote as
// escaped. Empty when the path cannot be quoted (a quote in it, or a NUL).
std::wstring commandLineFor(const std::wstring &programPath);
// The same, each of `arguments` following as one argument that the
// program's argument parser (the MSVCRT rules) reads back exactly: quoted
// when it is empty or holds a blank, tab or quote, a quote in it and the
// backslashes before a quote escaped. Empty when an argument holds a NUL.
std::wstring commandLineFor(const std::wstring &programPath, const std::vector<std::wstring> &arguments);

} // namespace skylane::win32
