#include "platform/win32/SessionEnd.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <reason.h>

namespace skylane::win32 {

// The program's flag values are those of the API, passed on unchanged.
static_assert(EWX_LOGOFF == 0 && EWX_SHUTDOWN == 1 && EWX_REBOOT == 2 && EWX_FORCE == 4);

bool enableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    if (enabled) {
        // AdjustTokenPrivileges succeeds even when it assigned nothing; only
        // the last error tells.
        enabled = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)
                  && GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return enabled;
}

bool endSession(unsigned int exitWindowsFlags)
{
    // A log-off works without the privilege, so its absence stops nothing.
    enableShutdownPrivilege();
    return ExitWindowsEx(exitWindowsFlags,
                         SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED) != 0;
}

} // namespace skylane::win32
