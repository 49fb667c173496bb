#include "platform/win32/WidePath.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <climits>

namespace skylane::win32 {

std::optional<std::wstring> widePath(const std::string &bytes)
{
    if (bytes.empty() || bytes.find('\0') != std::string::npos || bytes.size() > INT_MAX)
        return std::nullopt;
    const int size = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (wide <= 0)
        return std::nullopt;
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data(), wide) != wide)
        return std::nullopt;
    return out;
}

} // namespace skylane::win32
