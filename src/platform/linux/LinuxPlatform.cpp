#include "platform/Platform.h"
#include "platform/linux/DetachedProcess.h"
#include "platform/linux/LinuxProgramIcons.h"
#include "platform/linux/LinuxProgramLauncher.h"
#include "platform/linux/LinuxServices.h"
#include "platform/linux/LinuxSessionEnder.h"
#include "platform/linux/PaletteSystemColors.h"
#include "platform/linux/X11WindowSystem.h"
#include "platform/qt/QtDialogs.h"

#include <malloc.h>

namespace skylane {

std::unique_ptr<Platform> createNativePlatform()
{
    auto p = std::make_unique<Platform>();
    p->dialogs = std::make_unique<QtDialogs>();
    p->windows = std::make_unique<X11WindowSystem>();
    p->colors = std::make_unique<PaletteSystemColors>();
    p->launcher = std::make_unique<LinuxProgramLauncher>();
    adoptInstalledIconTheme();
    auto icons = std::make_unique<LinuxProgramIcons>();
    // Read while Qt's font database fills; the first row's icons take them.
    icons->desktopEntries().readAhead();
    p->icons = std::move(icons);
    p->shell = std::make_unique<DesktopShellOpener>();
    p->session = std::make_unique<LinuxSessionEnder>();
    return p;
}

void keepSessionEnvironment()
{
    sessionEnvironment();
}

void returnFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace skylane
