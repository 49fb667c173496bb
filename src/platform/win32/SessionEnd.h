#pragma once

#include "platform/SessionRequest.h"

namespace skylane::win32 {

// The ExitWindowsEx flags of a request: EWX_SHUTDOWN, EWX_REBOOT, EWX_LOGOFF,
// and EWX_FORCE alone for a forced log-off.
unsigned int exitWindowsFlags(SessionRequest request);

// The two system calls that ending a session takes, in this order. Tests
// hand in recorders, so that nothing ever ends their session.
struct SessionCalls {
    bool (*enablePrivilege)();
    bool (*exitWindows)(unsigned int flags);
};

// Enables the shutdown privilege of this process's token, which shutting
// down and rebooting need. False when the token does not hold it.
bool enableShutdownPrivilege();

// ExitWindowsEx with the flags, a planned shutdown as its reason.
bool exitWindows(unsigned int flags);

inline constexpr SessionCalls kSystemSessionCalls{enableShutdownPrivilege, exitWindows};

// Enables the shutdown privilege, then asks Windows to end the session as
// requested. False when Windows refuses.
bool endSession(SessionRequest request, const SessionCalls &calls = kSystemSessionCalls);

} // namespace skylane::win32
