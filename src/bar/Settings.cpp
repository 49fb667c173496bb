#include "bar/Settings.h"

#include "ProductInfo.h"
#include "bar/BarWindow.h"
#include "core/AppPaths.h"
#include "core/ConfigWriter.h"
#include "core/TextFile.h"

#include <QLocale>

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace skylane {

namespace {

constexpr char kLeft[] = "LF= ";
constexpr char kTop[] = "TP= ";
constexpr char kBack[] = "BG= ";
constexpr char kCredit[] = "AB= ";
constexpr char kCaptionColor[] = "TC= ";
constexpr char kCaptionFont[] = "TF= ";
constexpr qsizetype kKeyLength = 4;

QLocale numberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

} // namespace

std::optional<float> parseSingle(const QByteArray &text)
{
    bool ok = false;
    const double value = numberLocale().toDouble(QString::fromUtf8(text.trimmed()), &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > FLT_MAX)
        return std::nullopt;
    return static_cast<float>(value);
}

std::optional<qint32> parseLong(const QByteArray &text)
{
    const QString trimmed = QString::fromUtf8(text.trimmed());
    const QLocale locale = numberLocale();
    bool ok = false;
    const qlonglong whole = locale.toLongLong(trimmed, &ok);
    if (ok) {
        if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return static_cast<qint32>(whole);
    }
    // A fractional or exponent form converts to the nearest whole number.
    const double value = locale.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

QByteArray formatSingle(float value)
{
    // The shortest fixed-point text that reads back as the same
    // single-precision value: whole twips come out as plain integers without
    // a decimal point or an exponent, however large.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    text.replace(QLatin1Char('.'), numberLocale().decimalPoint());
    return text.toUtf8();
}

SettingsValues parseSettings(const QList<QByteArray> &lines)
{
    SettingsValues values;
    for (const QByteArray &line : lines) {
        const QByteArray key = line.left(kKeyLength);
        const QByteArray value = line.mid(kKeyLength);
        if (key == kLeft || key == kTop) {
            const auto number = parseSingle(value);
            if (!number)
                break;
            (key == kLeft ? values.left : values.top) = *number;
        } else if (key == kBack || key == kCaptionColor) {
            const auto number = parseLong(value);
            if (!number)
                break;
            (key == kBack ? values.backColor : values.captionColor) = *number;
        } else if (key == kCaptionFont) {
            values.captionFont = QString::fromLocal8Bit(value);
        }
    }
    return values;
}

QList<QByteArray> formatSettings(const SettingsRecord &record)
{
    return {
        kLeft + formatSingle(record.left),
        kTop + formatSingle(record.top),
        kBack + QByteArray::number(record.backColor),
        kCredit + QByteArray(product::kCredit) + product::kMakerWebAddress,
        kCaptionColor + QByteArray::number(record.captionColor),
        kCaptionFont + record.captionFont.toLocal8Bit(),
    };
}

void loadSettings(BarWindow &bar, const AppPaths &paths)
{
    const auto lines = textfile::readLines(paths.settingsFile());
    if (!lines)
        return;
    const SettingsValues v = parseSettings(*lines);
    if (v.left || v.top)
        bar.moveTwips(v.left.value_or(static_cast<float>(bar.leftTwips())),
                      v.top.value_or(static_cast<float>(bar.topTwips())));
    if (v.backColor)
        bar.setBackColor(fromSigned(*v.backColor));
    if (v.captionColor)
        bar.caption()->setForeColor(fromSigned(*v.captionColor));
    if (v.captionFont) {
        QFont font = bar.caption()->font();
        font.setFamily(*v.captionFont);
        bar.caption()->setFont(font);
    }
}

bool saveSettings(const BarWindow &bar, const AppPaths &paths, ConfigWriter &writer)
{
    const SettingsRecord record{static_cast<float>(bar.leftTwips()), static_cast<float>(bar.topTwips()),
                                toSigned(bar.backColor()), toSigned(bar.caption()->foreColor()),
                                bar.caption()->font().family()};
    return writer.writeLines(paths.settingsFile(), formatSettings(record));
}

} // namespace skylane
