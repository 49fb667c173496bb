#pragma once

namespace skylane {

// The four ways the exit dialog can end the user's session. Each backend
// turns them into its own system's calls.
enum class SessionRequest {
    Shutdown,
    Reboot,
    LogOff,
    // Log off at once: running programs are closed without being asked.
    ForcedLogOff,
};

} // namespace skylane
