#include "core/Files.h"

namespace skylane::files {

bool isLeftoverTemporaryName(const QByteArray &name)
{
    constexpr qsizetype markSize = sizeof kTemporaryMark - 1;
    constexpr qsizetype suffix = 6;
    const qsizetype mark = name.size() - suffix - markSize;
    if (!name.startsWith('.') || mark < 2 || name.mid(mark, markSize) != kTemporaryMark)
        return false;
    for (const char c : name.right(suffix))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

} // namespace skylane::files
