#pragma once

#include "platform/ColorValue.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/WindowSystem.h"

#include <memory>

namespace skylane {

// The services that stand in for the Windows calls the program relies on.
// The program runs on the native set; tests hand in fakes.
struct Platform {
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<WindowSystem> windows;
    std::unique_ptr<SystemColors> colors;
    std::unique_ptr<ProgramLauncher> launcher;
    std::unique_ptr<ProgramIcons> icons;
    std::unique_ptr<ShellOpener> shell;
    std::unique_ptr<SessionEnder> session;
};

std::unique_ptr<Platform> createNativePlatform();

} // namespace skylane
