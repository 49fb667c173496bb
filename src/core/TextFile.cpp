#include "core/TextFile.h"

#include "core/Files.h"

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

std::optional<QList<QByteArray>> readLines(const QByteArray &path)
{
    const auto content = files::readRegular(path);
    if (!content)
        return std::nullopt;
    return splitLines(*content);
}

bool firstLineReadable(const QByteArray &path)
{
    const auto content = files::readRegular(path);
    return content && !content->isEmpty();
}

bool writeLines(const QByteArray &path, const QList<QByteArray> &lines)
{
    return files::replace(path, joinLines(lines));
}

} // namespace skylane::textfile
