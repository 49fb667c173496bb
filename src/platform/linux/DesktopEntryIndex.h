#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

namespace skylane {

// Which icon the desktop gives a program: the Icon= value of the XDG desktop
// entry whose Exec or TryExec names the program file. The application
// folders are read once, on the first lookup, and again on the first lookup
// after one of them changed, so that looking up a program never scans a
// folder. An entry in an earlier folder hides one with the same desktop file
// id in a later folder, and the first entry naming a program wins.
class DesktopEntryIndex : public QObject {
    Q_OBJECT
public:
    explicit DesktopEntryIndex(QStringList applicationFolders, QObject *parent = nullptr);

    // $XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS/applications,
    // with the XDG defaults where a variable is unset or empty.
    static QStringList xdgApplicationFolders();

    // The Icon= value for the program at `programPath` (absolute; matched as
    // written and through symbolic links), or an empty string.
    QString iconName(const QString &programPath);

    // Reads the folders now if they changed since the last reading; returns
    // the number of readings so far, which tells a caller whether earlier
    // answers may have changed.
    int refresh();

private:
    void reindex();
    void indexFolder(const QString &root, const QString &folder, QSet<QString> &seenIds,
                     QSet<QString> &visited);
    void indexEntry(const QString &file);
    void addProgram(const QString &program, const QString &icon);
    void watchFolders();

    QStringList m_folders;
    QStringList m_readFolders; // the folders and subfolders last read
    QFileSystemWatcher m_watcher;
    QHash<QString, QString> m_iconByProgram;
    bool m_stale = true;
    int m_readings = 0;
};

// The program a desktop entry's Exec= value starts: its first word, with
// the entry format's quoting undone, past an "env VAR=value" prefix.
QString execProgram(const QString &exec);

} // namespace skylane
