// The category-file reader over any bytes: reading splits the file exactly
// at its line ends and keeps every other byte, rewriting what was read gives
// a file that reads back as the same lines.

#include "FuzzCheck.h"

#include "core/TextFile.h"

using namespace skylane;

namespace {

// Each line must sit at the current place, followed by CR LF, LF, or the
// end (a lone CR there being a line end cut short).
bool linesTileTheInput(const QByteArray &content, const QList<QByteArray> &lines)
{
    qsizetype at = 0;
    for (const QByteArray &line : lines) {
        if (at == content.size() || line.contains('\n') || content.mid(at, line.size()) != line)
            return false;
        at += line.size();
        if (content.mid(at, 2) == "\r\n")
            at += 2;
        else if (content.mid(at, 1) == "\n" || (content.mid(at) == "\r"))
            at += 1;
        else if (at != content.size())
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
    FUZZ_CHECK(textfile::splitLines(textfile::joinLines(lines)) == lines);
    return 0;
}
