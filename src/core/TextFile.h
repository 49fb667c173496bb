#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

namespace skylane::textfile {

// The program's text files are lines of bytes ended by CR LF. Reading takes
// CR LF or a lone LF as a line end; a final line end does not start another
// line and a last line without one still counts. Lines are never re-encoded,
// so whatever bytes a line holds come back unchanged.
QList<QByteArray> splitLines(const QByteArray &content);

// Each line followed by CR LF.
QByteArray joinLines(const QList<QByteArray> &lines);

// All lines of the file, or nothing when it is not a regular file that can
// be read (a FIFO or device there is never waited on).
std::optional<QList<QByteArray>> readLines(const QByteArray &path);

// True when the file exists and its first line can be read: a non-empty
// file that opens.
bool firstLineReadable(const QByteArray &path);

// Replaces the file whole, or leaves the old one untouched when anything
// fails on the way (a read-only folder, a full disk, a crash mid-write).
[[nodiscard]] bool writeLines(const QByteArray &path, const QList<QByteArray> &lines);

} // namespace skylane::textfile
