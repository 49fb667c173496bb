#include "platform/TextFile.h"

#include <QFile>
#include <QSaveFile>

namespace skylane::textfile {

QList<QByteArray> splitLines(const QByteArray &content)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype size = content.size();
    while (start < size) {
        qsizetype end = content.indexOf('\n', start);
        const bool lastWithoutEnd = end < 0;
        if (lastWithoutEnd)
            end = size;
        qsizetype lineEnd = end;
        // A CR belongs to the line end before LF, and at the very end of the
        // file it is the remains of a line end cut short.
        if (lineEnd > start && content.at(lineEnd - 1) == '\r')
            --lineEnd;
        lines.append(content.mid(start, lineEnd - start));
        start = end + 1;
    }
    return lines;
}

QByteArray joinLines(const QList<QByteArray> &lines)
{
    qsizetype total = 0;
    for (const QByteArray &line : lines)
        total += line.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const QByteArray &line : lines) {
        out.append(line);
        out.append("\r\n", 2);
    }
    return out;
}

std::optional<QList<QByteArray>> readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return splitLines(file.readAll());
}

bool firstLineReadable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    char byte = 0;
    return file.getChar(&byte);
}

bool writeLines(const QString &path, const QList<QByteArray> &lines)
{
    QSaveFile file(path);
    // Unbuffered: a write that fails (a full disk, a size limit) must reach
    // QSaveFile itself, which then refuses to commit. Through the buffer the
    // failure would surface only in the final flush, which QSaveFile does not
    // check before it replaces the old file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray content = joinLines(lines);
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace skylane::textfile
