#pragma once

#include <QByteArray>
#include <QString>

namespace skylane {

// Names the program's files, as bytes: AppPath is the folder that holds the
// program, whatever its name's encoding. Its configuration folder is written
// "config" and "Config" alike, so on a file system that tells letter case
// apart an existing folder of any spelling is used, and a new one is called
// "config". File names inside it are matched the same way.
class AppPaths {
public:
    explicit AppPaths(QByteArray appPath);
    static AppPaths ofRunningProgram();

    const QByteArray &appPath() const { return m_appPath; }
    QByteArray configDir() const;
    QByteArray configFile(const QByteArray &name) const;
    QByteArray helpDir() const;
    QByteArray helpPage() const;

    QByteArray settingsFile() const { return configFile("prg.cfg"); }
    QByteArray firstRunMarker() const { return configFile("runs.cfg"); }
    QByteArray blankButtonPicture() const { return configFile("1.2.jpg"); }
    QByteArray categoryFile(const QString &category) const { return configFile(category.toUtf8() + ".cfg"); }

private:
    QByteArray m_appPath;
};

} // namespace skylane
