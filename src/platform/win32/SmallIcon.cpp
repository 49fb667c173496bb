#include "platform/win32/SmallIcon.h"

#include "platform/win32/WidePath.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

namespace skylane::win32 {

HICON smallIcon(const std::string &programPath, bool &found)
{
    found = false;
    const auto path = widePath(programPath);
    if (!path)
        return nullptr;
    const DWORD attributes = GetFileAttributesW(path->c_str());
    found = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (!found)
        return nullptr;
    // The program's own first icon, small; the shell's icon for the file
    // (the generic program icon, a document's type) when it has none. The
    // shell gives the same for a program with icons on Windows, but not
    // under wine, which answers with the generic one.
    HICON own = nullptr;
    if (ExtractIconExW(path->c_str(), 0, nullptr, &own, 1) != UINT(-1) && own)
        return own;
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(path->c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
        return nullptr;
    return info.hIcon;
}

} // namespace skylane::win32
