#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace skylane {

// The keys of an entry's [Desktop Entry] group that the program reads, as
// GLib's key-file reader gives them: escapes undone, and Name in the
// language of the user's locale (Name[de] on a German desktop), as every
// menu shows it.
struct DesktopEntry {
    QString name;
    QString exec;
    QString tryExec;
    QString icon;
    QString flatpakId; // X-Flatpak
    bool terminal = false;
    bool hidden = false;
};

// The [Desktop Entry] group of the regular file at `path`; nothing when the
// file cannot be read or is not a desktop entry. A FIFO or device named like
// an entry is never opened.
std::optional<DesktopEntry> readDesktopEntry(const QByteArray &path);

// The program an Exec= value starts, as written: its first word, past an
// "env VAR=value" prefix. Empty when the value does not parse.
QString execProgram(const QString &exec);

// The file a program word names: an absolute path cleaned, a bare name looked
// up in PATH. Empty for a relative path with folders, or a name not found.
QString resolveProgram(const QString &program);

// The program an entry starts when it is given no files: the executable its
// Exec names when every other word is a field code, or for a Flatpak entry
// the launcher the user's or the system's installation exports. Empty for an
// entry that needs a terminal or other arguments, or whose program is not there.
QString programOfDesktopEntry(const QString &path);

// $XDG_DATA_HOME, or its default when unset, empty or relative.
QString userDataFolder();

} // namespace skylane
