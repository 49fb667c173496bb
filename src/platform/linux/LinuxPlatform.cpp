#include "platform/Platform.h"
#include "platform/PaletteSystemColors.h"
#include "platform/linux/LinuxProgramIcons.h"
#include "platform/linux/LinuxServices.h"
#include "platform/linux/X11WindowSystem.h"

namespace skylane {

namespace {

// Placeholders until the real launcher and session backend arrive; they
// keep the program whole in the meantime.
class PendingLauncher final : public ProgramLauncher {
public:
    void startMinimized(const QByteArray &) override {}
};

class PendingSessionEnder final : public SessionEnder {
public:
    void endSession(int) override {}
};

} // namespace

std::unique_ptr<Platform> createNativePlatform()
{
    auto p = std::make_unique<Platform>();
    p->dialogs = std::make_unique<QtDialogs>();
    p->windows = std::make_unique<X11WindowSystem>();
    p->colors = std::make_unique<PaletteSystemColors>();
    p->launcher = std::make_unique<PendingLauncher>();
    adoptInstalledIconTheme();
    p->icons = std::make_unique<LinuxProgramIcons>();
    p->shell = std::make_unique<DesktopShellOpener>();
    p->session = std::make_unique<PendingSessionEnder>();
    return p;
}

} // namespace skylane
