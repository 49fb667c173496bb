#include "platform/win32/SystemColors.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace skylane::win32 {

bool hasSystemColor(int index)
{
    // GetSysColor answers 0 (black) for an unknown element too; only the
    // brush tells the two apart.
    return GetSysColorBrush(index) != nullptr;
}

std::uint32_t systemColor(int index)
{
    if (!hasSystemColor(index))
        return 0;
    return static_cast<std::uint32_t>(GetSysColor(index)) & 0x00FFFFFFu;
}

} // namespace skylane::win32
