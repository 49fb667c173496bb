// The category-file reader and rewriter over any bytes: reading splits the
// file exactly at its line ends and keeps every other byte, and rewriting
// what was read gives a file that reads back as the same lines.

#include "FuzzCheck.h"

#include "buttons/CategoryFile.h"
#include "platform/TextFile.h"

#include <QString>

#include <cstddef>
#include <cstdint>

using namespace skylane;

namespace {

// Walks the input along the lines read from it: each line must sit at the
// current place, followed by CR LF, LF, or the end (a lone CR there being
// a line end cut short).
bool linesTileTheInput(const QByteArray &content, const QList<QByteArray> &lines)
{
    qsizetype at = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (line.contains('\n') || content.mid(at, line.size()) != line)
            return false;
        at += line.size();
        const QByteArray rest = content.mid(at, 2);
        if (rest.startsWith("\r\n"))
            at += 2;
        else if (rest.startsWith('\n'))
            at += 1;
        else if (rest == "\r" && at + 1 == content.size())
            at += 1;
        else if (at != content.size())
            return false;
        if (at == content.size() && i + 1 != lines.size())
            return false;
    }
    return at == content.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    const QList<QByteArray> lines = textfile::splitLines(content);
    FUZZ_CHECK(linesTileTheInput(content, lines));

    const QByteArray rewritten = textfile::joinLines(lines);
    FUZZ_CHECK(textfile::splitLines(rewritten) == lines);
    FUZZ_CHECK(textfile::joinLines(textfile::splitLines(rewritten)) == rewritten);
    FUZZ_CHECK(rewritten.endsWith("\r\n") || rewritten.isEmpty());
    FUZZ_CHECK(rewritten.count("\r\n") == lines.size()); // one line end per line, none inside

    // The button count of the row is the number that starts its text.
    if (!lines.isEmpty()) {
        const int count = leadingNumber(QString::fromLocal8Bit(lines.first()));
        FUZZ_CHECK(count >= 0 && count <= 999999999);
        FUZZ_CHECK(leadingNumber(QString::number(count)) == count);
    }
    return 0;
}
