#include "platform/Platform.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32WindowSystem.h"
#include "platform/qt/QtDialogs.h"

#include <malloc.h>

namespace skylane {

std::unique_ptr<Platform> createNativePlatform()
{
    auto p = std::make_unique<Platform>();
    p->dialogs = std::make_unique<QtDialogs>();
    p->windows = std::make_unique<Win32WindowSystem>();
    p->colors = std::make_unique<Win32SystemColors>();
    p->launcher = std::make_unique<Win32ProgramLauncher>();
    p->icons = std::make_unique<Win32ProgramIcons>();
    p->shell = std::make_unique<Win32ShellOpener>();
    p->session = std::make_unique<Win32SessionEnder>();
    return p;
}

// GDI and DirectWrite have no costly first use worth moving off the start.
void beginLibraryWarmUp() {}
void continueLibraryWarmUp() {}
void finishLibraryWarmUp() {}

void returnFreedMemory()
{
    _heapmin();
}

void keepSessionEnvironment() {}

bool prepareNativeWindowSystem()
{
    return true; // Windows has one window system, always there
}

} // namespace skylane
