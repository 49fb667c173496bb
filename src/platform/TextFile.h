#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace skylane::textfile {

// The program's text files are lines of bytes ended by CR LF. Reading takes
// CR LF or a lone LF as a line end; a final line end does not start another
// line and a last line without one still counts. Lines are never re-encoded,
// so whatever bytes a line holds come back unchanged.
QList<QByteArray> splitLines(const QByteArray &content);

// Each line followed by CR LF.
QByteArray joinLines(const QList<QByteArray> &lines);

// All lines of the file, or nothing when it cannot be opened for reading.
std::optional<QList<QByteArray>> readLines(const QString &path);

// True when the file exists and its first line can be read: a non-empty
// file that opens.
bool firstLineReadable(const QString &path);

// Replaces the file whole, or leaves the old one untouched when anything
// fails on the way (a read-only folder, a full disk, a crash mid-write).
bool writeLines(const QString &path, const QList<QByteArray> &lines);

} // namespace skylane::textfile
