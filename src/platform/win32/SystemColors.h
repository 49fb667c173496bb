#pragma once

#include <cstdint>

namespace skylane::win32 {

// The colour of a scheme element (1 desktop, 2 active title bar, 3 inactive
// title bar, 14 text of selected items, 15 button face, ...) as 0x00BBGGRR:
// what GetSysColor gives, which is also the plain colour form of the
// settings file. Black for an index the running Windows does not know.
std::uint32_t systemColor(int index);

// Whether the running Windows knows the element.
bool hasSystemColor(int index);

} // namespace skylane::win32
