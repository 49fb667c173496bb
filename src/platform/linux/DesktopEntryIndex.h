#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace skylane {

// The keys of an entry's [Desktop Entry] group that the program reads, with
// the format's escapes undone.
struct DesktopEntry {
    QString name;
    QString exec;
    QString tryExec;
    QString icon;
    QString flatpakId; // X-Flatpak
    bool terminal = false;
    bool hidden = false;
};

// The [Desktop Entry] group of the file at `path`; nothing when the file
// cannot be read.
std::optional<DesktopEntry> readDesktopEntry(const QString &path);

// The program an entry starts when it is given no files: the executable its
// Exec names (looked up in PATH) when every other word is a field code, or
// for a Flatpak entry the launcher the user's or the system's installation
// exports. Empty for an entry that needs a terminal or other arguments, or
// whose program is not there.
QString programOfDesktopEntry(const QString &path);

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
    // with the XDG defaults where a variable is unset or empty; last the
    // folder where snapd keeps the entries of installed Snaps.
    static QStringList xdgApplicationFolders();

    // The folder of the Snaps' launchers (/snap/bin/<snap>[.<app>]).
    void setSnapLaunchers(const QString &folder) { m_snapLaunchers = folder; }

    struct Described {
        QString icon;
        QString name;
    };
    // What the desktop says of the program at `programPath` (absolute):
    // a Flatpak or Snap launcher by the entry of its application id, any
    // other program by the entry that names it (as written or through
    // symbolic links). Empty when no entry describes it.
    Described describe(const QString &programPath);
    QString iconName(const QString &programPath) { return describe(programPath).icon; }

    // Reads the folders now if they changed since the last reading; returns
    // the number of readings so far, which tells a caller whether earlier
    // answers may have changed.
    int refresh();

private:
    void reindex();
    void indexFolder(const QString &root, const QString &folder, QSet<QString> &seenIds,
                     QSet<QString> &visited);
    void indexEntry(const QString &file, const QString &id);
    void addProgram(const QString &program, const Described &described);
    void watchFolders();
    QString packagedEntryId(const QString &programPath) const;

    QStringList m_folders;
    QStringList m_readFolders; // the folders and subfolders last read
    QFileSystemWatcher m_watcher;
    QHash<QString, Described> m_byProgram;
    QHash<QString, Described> m_byId; // by desktop file id
    QString m_snapLaunchers = QStringLiteral("/snap/bin");
    bool m_stale = true;
    int m_readings = 0;
};

// The program a desktop entry's Exec= value starts: its first word, with
// the entry format's quoting undone, past an "env VAR=value" prefix.
QString execProgram(const QString &exec);

} // namespace skylane
