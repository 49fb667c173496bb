#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace skylane::files {

// A file name is the bytes of its path; the locale's encoding is only for
// showing it. Every file the program checks, reads, writes or starts is
// reached through these functions and the bytes.

enum class Kind { Missing, Regular, Folder, Special };

// What is at a path, symbolic links followed. `Special` is a FIFO, socket or
// device: never opened, so never waited on.
struct Entry {
    Kind kind = Kind::Missing;
    bool executable = false; // a regular file this user may start
    // Identity and state, so a cache can tell a replaced file from the same one.
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 changedNs = 0;

    bool isFile() const { return kind == Kind::Regular; }
    bool isProgram() const { return kind == Kind::Regular && executable; }
};
Entry at(const QByteArray &path);

// The whole content of a regular file; nothing when it is missing,
// unreadable, a folder or a special file. A FIFO or device is never waited on.
std::optional<QByteArray> readRegular(const QByteArray &path);

// Replaces the file whole, or leaves the old one untouched when anything
// fails on the way (a read-only folder, a full disk, a crash mid-write). A
// special file at the path is replaced, never written into. On failure
// `reason` gets the system's word for it ("No space left on device").
// The content goes first to a temporary file beside the target, named
// ".<name>.skylane-XXXXXX", so a crash leaves nothing that looks like a
// file of the user's.
inline constexpr char kTemporaryMark[] = ".skylane-";
// ".<name>.skylane-" and six letters or digits, as mkstemp fills them.
bool isLeftoverTemporaryName(const QByteArray &name);
[[nodiscard]] bool replace(const QByteArray &path, const QByteArray &content, QString *reason = nullptr);

// Removes what a crash mid-replace left in the folder: regular files named
// as replace() names its temporary files whose last change is older than
// `olderThanNs` (nanoseconds since the epoch). Nothing else is touched.
void removeLeftoverTemporaries(const QByteArray &folder, qint64 olderThanNs);

// The names of the regular files directly in the folder; a symbolic link
// counts only when it leads to a regular file inside that same folder.
QList<QByteArray> regularFilesIn(const QByteArray &folder);

bool makeFolder(const QByteArray &path);

// Whether this user may make files in the folder (false for a read-only
// file system too).
bool canWriteInto(const QByteArray &folder);

// The entry of `folder` whose name equals `name` regardless of letter case
// (the exact spelling wins), or `name` itself when there is none.
QByteArray matchNameIgnoringCase(const QByteArray &folder, const QByteArray &name);

// The folder that holds the running program, from the bytes of its path.
QByteArray programFolder();

} // namespace skylane::files
