#pragma once

#include <QByteArray>
#include <QString>

namespace skylane {

// Names the program's files, as bytes: AppPath is the folder that holds the
// program, whatever its name's encoding. Its configuration folder is written
// "config" and "Config" alike, so on a file system that tells letter case
// apart an existing folder of any spelling is used, and a new one is called
// "config". File names inside it are matched the same way.
//
// A program folder this user cannot write (installed for every user of a
// machine) keeps the configuration in the user's own place instead,
// userConfigDir(); the help page and the blank-button picture the program
// brings stay in the program folder.
class AppPaths {
public:
    // `userConfigDir` empty: the configuration lives in the program folder.
    explicit AppPaths(QByteArray appPath, QByteArray userConfigDir = {});
    static AppPaths ofRunningProgram();
    // The program folder's own configuration when it can be written there.
    static AppPaths forProgramFolder(QByteArray appPath);
    // Linux: $XDG_CONFIG_HOME/skylane/config, by default
    // ~/.config/skylane/config; Windows: %APPDATA%/Sky Lane/config.
    static QByteArray userConfigDir();

    const QByteArray &appPath() const { return m_appPath; }
    bool keepsConfigApart() const { return !m_userConfigDir.isEmpty(); }
    QByteArray configDir() const;
    QByteArray configFile(const QByteArray &name) const;
    // The configuration the program folder brings, and a file of it.
    QByteArray programConfigDir() const { return AppPaths(m_appPath).configDir(); }
    QByteArray programConfigFile(const QByteArray &name) const;
    QByteArray helpDir() const;
    QByteArray helpPage() const;

    QByteArray settingsFile() const { return configFile("prg.cfg"); }
    QByteArray firstRunMarker() const { return configFile("runs.cfg"); }
    QByteArray blankButtonPicture() const { return configFile("1.2.jpg"); }
    QByteArray categoryFile(const QString &category) const { return configFile(category.toUtf8() + ".cfg"); }

private:
    QByteArray m_appPath;
    QByteArray m_userConfigDir;
};

} // namespace skylane
