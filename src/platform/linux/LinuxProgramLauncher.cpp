#include "platform/linux/LinuxProgramLauncher.h"

#include "core/Files.h"
#include "core/Logging.h"
#include "platform/linux/DesktopEntryIndex.h"
#include "platform/linux/DetachedProcess.h"
#include "platform/linux/SystemdScope.h"
#include "platform/linux/X11MinimizeWatch.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>

namespace skylane {

LinuxProgramLauncher::LinuxProgramLauncher() = default;
LinuxProgramLauncher::~LinuxProgramLauncher() = default;

QByteArray programOfFile(const QByteArray &file)
{
    // Desktop entries first: a trusted one is executable as well.
    if (file.endsWith(".desktop"))
        return QFile::encodeName(programOfDesktopEntry(QFile::decodeName(file)));
    return files::at(file).isProgram() ? file : QByteArray();
}

void LinuxProgramLauncher::startMinimized(const QByteArray &programPath, const QByteArrayList &arguments)
{
    int error = 0;
    const pid_t pid = spawnDetached(programPath, arguments, &error);
    if (pid <= 0) {
        qCWarning(lcLaunch) << "could not start" << programPath << "-" << qUtf8Printable(qt_error_string(error));
        return;
    }
    if (QCoreApplication::instance()) {
        if (!m_scopes)
            m_scopes = std::make_unique<SystemdScopes>();
        m_scopes->moveToOwnScope(pid, programPath);
    }
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        && QGuiApplication::platformName() == QLatin1String("xcb"))
        X11MinimizeWatch::start(pid, QCoreApplication::instance());
}

} // namespace skylane
