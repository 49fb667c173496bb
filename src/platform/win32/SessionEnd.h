#pragma once

namespace skylane::win32 {

// Enables the shutdown privilege of this process's token, which shutting
// down and rebooting need. False when the token does not hold it.
bool enableShutdownPrivilege();

// Ends the session with the ExitWindowsEx flags the program uses (0 log
// off, 1 shut down, 2 reboot, 4 forced log off), after enabling the
// shutdown privilege. False when Windows refuses.
bool endSession(unsigned int exitWindowsFlags);

} // namespace skylane::win32
