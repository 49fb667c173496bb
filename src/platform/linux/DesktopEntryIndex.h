#pragma once

#include "platform/linux/DesktopEntry.h"
#include "platform/linux/DesktopFolderWatch.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <future>

namespace skylane {

// Which entry of the desktop describes a program: the XDG desktop entry
// whose Exec or TryExec names the program file. The application folders are
// read once, on the first lookup, and again on the first lookup after one of
// them changed, so that looking up a program never scans a folder. An entry
// in an earlier folder hides one with the same desktop file id in a later
// folder, and the first entry naming a program wins (one with an icon over
// one without).
class DesktopEntryIndex {
public:
    explicit DesktopEntryIndex(QStringList applicationFolders);

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

    // Reads the folders now if they changed since the last reading; true
    // when it did, so earlier answers may have changed.
    bool refresh();

    // Starts the first reading on a thread of its own, so that it overlaps
    // other work; the first lookup takes its result, waiting if need be.
    void readAhead();

private:
    // What one reading of the folders found.
    struct Contents {
        QHash<QString, Described> byProgram;
        QHash<QByteArray, Described> byId; // by desktop file id
        QStringList readFolders; // the folders and subfolders read
    };
    // Touches nothing but its result: safe on any thread.
    static Contents read(const QStringList &folders);
    static void indexFolder(Contents &contents, const QByteArray &root, const QByteArray &folder,
                            QSet<QByteArray> &seenIds, QSet<QByteArray> &visited);
    static void indexEntry(Contents &contents, const QByteArray &file, const QByteArray &id);
    static void addProgram(Contents &contents, const QString &program, const Described &described);
    void adopt(Contents contents);
    QByteArray packagedEntryId(const QString &programPath) const;

    QStringList m_folders;
    DesktopFolderWatch m_watch;
    Contents m_contents;
    std::future<Contents> m_reading;
    QString m_snapLaunchers = QStringLiteral("/snap/bin");
};

} // namespace skylane
