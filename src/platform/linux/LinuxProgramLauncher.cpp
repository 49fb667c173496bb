#include "platform/linux/LinuxProgramLauncher.h"

#include "platform/linux/DetachedProcess.h"
#include "platform/linux/X11MinimizeWatch.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace skylane {

void LinuxProgramLauncher::startMinimized(const QByteArray &programPath)
{
    const pid_t pid = spawnDetached(programPath);
    if (pid <= 0)
        return;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        && QGuiApplication::platformName() == QLatin1String("xcb"))
        X11MinimizeWatch::start(pid, QCoreApplication::instance());
}

} // namespace skylane
