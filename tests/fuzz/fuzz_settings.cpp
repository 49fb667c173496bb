// The settings reader over any bytes: it never crashes, what it accepts is a
// value the bar can hold, and what the writer makes of those values reads
// back as the same values, in the locale that wrote them.

#include "FuzzCheck.h"

#include "bar/Settings.h"
#include "core/ColorValue.h"
#include "core/TextFile.h"

#include <QLocale>

#include <cfloat>
#include <cmath>

using namespace skylane;

namespace {

const QLocale &localeFor(std::uint8_t selector)
{
    static const QLocale locales[] = {
        QLocale::c(),
        QLocale(QLocale::German, QLocale::Germany),   // decimal comma
        QLocale(QLocale::French, QLocale::France),    // decimal comma, space groups
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Switzerland), // apostrophe groups
    };
    return locales[selector % (sizeof locales / sizeof locales[0])];
}

bool sameFloat(float a, float b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    QLocale::setDefault(localeFor(data[0]));
    const QByteArray content(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));

    const SettingsValues read = parseSettings(textfile::splitLines(content));
    for (const auto &position : {read.left, read.top}) {
        if (position)
            FUZZ_CHECK(std::isfinite(*position) && std::fabs(*position) <= FLT_MAX);
    }

    // What was read, the bar's defaults elsewhere.
    const SettingsRecord record{read.left.value_or(5100), read.top.value_or(4620),
                                read.backColor.value_or(toSigned(systemColor(syscolor::Desktop))),
                                read.captionColor.value_or(0xFFFFFF), read.captionFont.value_or(QStringLiteral("MS Serif"))};

    const SettingsValues again = parseSettings(textfile::splitLines(textfile::joinLines(formatSettings(record))));
    FUZZ_CHECK(again.left && sameFloat(*again.left, record.left));
    FUZZ_CHECK(again.top && sameFloat(*again.top, record.top));
    FUZZ_CHECK(again.backColor == record.backColor);
    FUZZ_CHECK(again.captionColor == record.captionColor);
    FUZZ_CHECK(again.captionFont == record.captionFont);
    return 0;
}
