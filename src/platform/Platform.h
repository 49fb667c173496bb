#pragma once

#include "core/ColorValue.h"
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

// Runs first in main(), before anything sets or unsets a variable: keeps the
// environment the session started the bar with, which every program the bar
// starts gets in turn. What the bar then chooses for itself (its Qt platform,
// say) stays with the bar. On Windows a program gets the user's environment
// block instead, so nothing needs keeping.
void keepSessionEnvironment();

// Runs before the application object exists. On Linux the bar places itself
// and keeps its stacking layer through X11, so a Wayland session runs it
// through XWayland: unless the user has chosen a Qt platform, xcb is chosen
// here. When no X display can be reached, one line on standard error says so
// and the answer is false: the program ends instead of running unplaced.
bool prepareNativeWindowSystem();

// What the system's libraries do on their first use, done on a thread of
// its own so that it overlaps the program's own start: begun before the
// application object exists (on Linux, fontconfig's configuration and font
// caches), continued once it does (Qt's font database filled), finished,
// waiting if need be, before the program first measures text.
void beginLibraryWarmUp();
void continueLibraryWarmUp();
void finishLibraryWarmUp();

// Hands the heap's free pages back to the system, so that what a closed
// window freed stops counting against the program.
void returnFreedMemory();

} // namespace skylane
