#pragma once

#include <string>

namespace skylane::win32 {

// The folder that holds the running program (GetModuleFileNameW without the
// file name), however long its path. Empty when Windows does not tell.
std::wstring programFolder();

} // namespace skylane::win32
