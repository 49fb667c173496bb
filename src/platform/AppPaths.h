#pragma once

#include <QString>

namespace skylane {

// Names the program's files. AppPath is the folder that holds the program;
// its configuration folder is written "config" and "Config" alike, so on a
// file system that tells letter case apart an existing folder of any
// spelling is used, and a new one is called "config". File names inside it
// are matched the same way.
class AppPaths {
public:
    explicit AppPaths(QString appPath);
    static AppPaths ofRunningProgram();

    const QString &appPath() const { return m_appPath; }
    QString configDir() const;
    QString configFile(const QString &name) const;
    QString helpDir() const;
    QString helpPage() const;

    QString settingsFile() const { return configFile(QStringLiteral("prg.cfg")); }
    QString firstRunMarker() const { return configFile(QStringLiteral("runs.cfg")); }
    QString blankButtonPicture() const { return configFile(QStringLiteral("1.2.jpg")); }
    QString categoryFile(const QString &category) const
    {
        return configFile(category + QStringLiteral(".cfg"));
    }

private:
    QString m_appPath;
};

// The entry of `folder` whose name equals `name` regardless of letter case
// (the exact spelling wins), or `name` itself when there is none.
QString matchNameIgnoringCase(const QString &folder, const QString &name);

} // namespace skylane
