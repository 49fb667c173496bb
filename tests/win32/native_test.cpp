// The native parts of the Windows backend that the journeys under wine
// (test_wine_e2e.py) do not reach, on a real Win32 API (wine).
#include "platform/win32/SmallIcon.h"
#include "platform/win32/WidePath.h"

#include <windows.h>

#include <cstdio>
#include <string>

using namespace skylane::win32;

namespace {

int failures = 0;

void check(bool ok, const std::string &what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    failures += ok ? 0 : 1;
}

std::string narrow(const std::wstring &wide)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace

int main()
{
    std::string bytes = "C:\\";
    for (int c = 0x20; c < 0x100; ++c)
        bytes += c == '\\' || c == '/' ? '_' : char(c);
    const auto wide = widePath(bytes);
    check(wide && narrow(*wide) == bytes, "every ANSI byte comes back from UTF-16 as it was");
    check(!widePath(std::string("C:\\a\0b", 6)), "a NUL is no path");

    bool found = false;
    HICON icon = smallIcon("C:\\windows\\system32\\notepad.exe", found);
    check(found && icon, "a system program has a small icon");
    if (icon)
        DestroyIcon(icon);
    for (const char *path : {"C:\\windows\\no such program.exe", "C:\\windows"}) {
        found = true;
        check(!smallIcon(path, found) && !found, std::string("no icon and not found: ") + path);
    }
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
