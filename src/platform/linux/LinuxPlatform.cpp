#include "platform/Platform.h"
#include "platform/PaletteSystemColors.h"
#include "platform/linux/LinuxProgramLauncher.h"
#include "platform/linux/LinuxServices.h"
#include "platform/linux/LinuxSessionEnder.h"
#include "platform/linux/X11WindowSystem.h"

#include <QFileInfo>

namespace skylane {

namespace {

// Placeholder until the real icon lookup arrives; it keeps the program
// whole in the meantime.
class FileExistsIcons final : public ProgramIcons {
public:
    QIcon smallIcon(const QByteArray &programPath, bool &found) override
    {
        found = !programPath.isEmpty() && QFileInfo(QString::fromLocal8Bit(programPath)).isFile();
        return found ? QIcon(QStringLiteral(":/icons/program.svg")) : QIcon();
    }
};

} // namespace

std::unique_ptr<Platform> createNativePlatform()
{
    auto p = std::make_unique<Platform>();
    p->dialogs = std::make_unique<QtDialogs>();
    p->windows = std::make_unique<X11WindowSystem>();
    p->colors = std::make_unique<PaletteSystemColors>();
    p->launcher = std::make_unique<LinuxProgramLauncher>();
    p->icons = std::make_unique<FileExistsIcons>();
    p->shell = std::make_unique<DesktopShellOpener>();
    p->session = std::make_unique<LinuxSessionEnder>();
    return p;
}

} // namespace skylane
