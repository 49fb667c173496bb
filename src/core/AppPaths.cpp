#include "core/AppPaths.h"

#include "core/Files.h"

#include <QDir>

namespace skylane {

namespace {

QByteArray withoutTrailingSlashes(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

} // namespace

AppPaths::AppPaths(QByteArray appPath, QByteArray userConfigDir)
    : m_appPath(withoutTrailingSlashes(std::move(appPath))),
      m_userConfigDir(userConfigDir.isEmpty() ? QByteArray() : withoutTrailingSlashes(std::move(userConfigDir)))
{
}

AppPaths AppPaths::ofRunningProgram()
{
    return forProgramFolder(files::programFolder());
}

AppPaths AppPaths::forProgramFolder(QByteArray appPath)
{
    if (files::canWriteInto(appPath))
        return AppPaths(std::move(appPath));
    return AppPaths(std::move(appPath), userConfigDir());
}

QByteArray AppPaths::userConfigDir()
{
#ifdef Q_OS_WIN
    const QByteArray base = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")).toLocal8Bit();
    return base.isEmpty() ? QByteArray() : base + "/Sky Lane/config";
#else
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    QByteArray base = qgetenv("XDG_CONFIG_HOME");
    if (!base.startsWith('/')) {
        const QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/'))
            return {};
        base = withoutTrailingSlashes(home) + "/.config";
    }
    return withoutTrailingSlashes(base) + "/skylane/config";
#endif
}

QByteArray AppPaths::configDir() const
{
    if (keepsConfigApart())
        return m_userConfigDir;
    return m_appPath + '/' + files::matchNameIgnoringCase(m_appPath, "config");
}

QByteArray AppPaths::configFile(const QByteArray &name) const
{
    const QByteArray dir = configDir();
    return dir + '/' + files::matchNameIgnoringCase(dir, name);
}

QByteArray AppPaths::programConfigFile(const QByteArray &name) const
{
    return AppPaths(m_appPath).configFile(name);
}

QByteArray AppPaths::helpDir() const
{
    return m_appPath + '/' + files::matchNameIgnoringCase(m_appPath, "help");
}

QByteArray AppPaths::helpPage() const
{
    const QByteArray dir = helpDir();
    return dir + '/' + files::matchNameIgnoringCase(dir, "help.htm");
}

} // namespace skylane
