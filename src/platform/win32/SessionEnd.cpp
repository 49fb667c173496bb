#include "platform/win32/SessionEnd.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <reason.h>

namespace skylane::win32 {

unsigned int exitWindowsFlags(SessionRequest request)
{
    switch (request) {
    case SessionRequest::Shutdown:
        return EWX_SHUTDOWN;
    case SessionRequest::Reboot:
        return EWX_REBOOT;
    case SessionRequest::LogOff:
        return EWX_LOGOFF;
    case SessionRequest::ForcedLogOff:
        // Not EWX_SHUTDOWN | EWX_FORCE: programs are closed unasked and the
        // user is logged off, the machine keeps running.
        return EWX_FORCE;
    }
    return EWX_LOGOFF;
}

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

bool exitWindows(unsigned int flags)
{
    return ExitWindowsEx(flags, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED) != 0;
}

bool endSession(SessionRequest request, const SessionCalls &calls)
{
    // A log-off works without the privilege, so its absence stops nothing.
    calls.enablePrivilege();
    return calls.exitWindows(exitWindowsFlags(request));
}

} // namespace skylane::win32
