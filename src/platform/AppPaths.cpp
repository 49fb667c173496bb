#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include "platform/win32/ProgramFolder.h"
#endif

namespace skylane {

AppPaths::AppPaths(QString appPath) : m_appPath(std::move(appPath))
{
    while (m_appPath.size() > 1 && m_appPath.endsWith(QLatin1Char('/')))
        m_appPath.chop(1);
}

AppPaths AppPaths::ofRunningProgram()
{
#ifdef Q_OS_WIN
    return AppPaths(QDir::fromNativeSeparators(QString::fromStdWString(win32::programFolder())));
#else
    return AppPaths(QCoreApplication::applicationDirPath());
#endif
}

QString matchNameIgnoringCase(const QString &folder, const QString &name)
{
    if (QFileInfo::exists(folder + QLatin1Char('/') + name))
        return name;
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

QString AppPaths::configDir() const
{
    return m_appPath + QLatin1Char('/') + matchNameIgnoringCase(m_appPath, QStringLiteral("config"));
}

QString AppPaths::configFile(const QString &name) const
{
    const QString dir = configDir();
    return dir + QLatin1Char('/') + matchNameIgnoringCase(dir, name);
}

QString AppPaths::helpDir() const
{
    return m_appPath + QLatin1Char('/') + matchNameIgnoringCase(m_appPath, QStringLiteral("help"));
}

QString AppPaths::helpPage() const
{
    const QString dir = helpDir();
    return dir + QLatin1Char('/') + matchNameIgnoringCase(dir, QStringLiteral("help.htm"));
}

} // namespace skylane
