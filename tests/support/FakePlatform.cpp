#include "support/FakePlatform.h"

#include "artwork/Artwork.h"

#include <QWidget>

#include <sys/stat.h>

namespace skylane::test {

void FakeWindowSystem::prepareBarWindow(QWidget *bar)
{
    bar->setWindowFlags(Qt::Window | Qt::FramelessWindowHint); // as the window system's is
    topmost[bar] = true;
}

QIcon FakeIcons::smallIcon(const QByteArray &programPath, bool &found)
{
    struct stat st {};
    found = !programPath.contains('\0') && ::stat(programPath.constData(), &st) == 0 && S_ISREG(st.st_mode);
    return found ? artworkIcon(QStringLiteral("program"), QSize(16, 16)) : QIcon();
}

FakePlatform::FakePlatform()
{
    platform->dialogs.reset(dialogs = new FakeDialogs);
    platform->windows.reset(windows = new FakeWindowSystem);
    platform->colors = std::make_unique<FakeSystemColors>();
    platform->launcher.reset(launcher = new FakeLauncher);
    platform->icons.reset(icons = new FakeIcons);
    platform->shell.reset(shell = new FakeShell);
    platform->session.reset(session = new FakeSession);
}

} // namespace skylane::test
