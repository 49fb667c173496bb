#include "core/AppPaths.h"

#include "core/Files.h"

namespace skylane {

AppPaths::AppPaths(QByteArray appPath) : m_appPath(std::move(appPath))
{
    while (m_appPath.size() > 1 && m_appPath.endsWith('/'))
        m_appPath.chop(1);
}

AppPaths AppPaths::ofRunningProgram()
{
    return AppPaths(files::programFolder());
}

QByteArray AppPaths::configDir() const
{
    return m_appPath + '/' + files::matchNameIgnoringCase(m_appPath, "config");
}

QByteArray AppPaths::configFile(const QByteArray &name) const
{
    const QByteArray dir = configDir();
    return dir + '/' + files::matchNameIgnoringCase(dir, name);
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
