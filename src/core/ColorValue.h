#pragma once

#include <QColor>
#include <QtGlobal>

namespace skylane {

// A colour as the settings file stores it: 0x00BBGGRR for a plain colour,
// or bit 31 plus an index for one of the system's scheme colours. Values
// stay in this form until they are painted, so a system colour is saved as
// a system colour and follows the user's scheme.
using ColorValue = quint32;

inline constexpr ColorValue kSystemColorFlag = 0x80000000u;

namespace syscolor {
inline constexpr int Desktop = 1;          // COLOR_BACKGROUND
inline constexpr int ActiveCaption = 2;    // COLOR_ACTIVECAPTION
inline constexpr int InactiveCaption = 3;  // COLOR_INACTIVECAPTION
inline constexpr int HighlightText = 14;   // COLOR_HIGHLIGHTTEXT
inline constexpr int ButtonFace = 15;      // COLOR_BTNFACE
} // namespace syscolor

constexpr ColorValue systemColor(int index) { return kSystemColorFlag | static_cast<quint32>(index); }
constexpr bool isSystemColor(ColorValue v) { return (v & kSystemColorFlag) != 0; }
constexpr int systemColorIndex(ColorValue v) { return static_cast<int>(v & 0x00FFFFFFu); }

// The settings file writes colours as signed 32-bit decimals.
constexpr qint32 toSigned(ColorValue v) { return static_cast<qint32>(v); }
constexpr ColorValue fromSigned(qint32 v) { return static_cast<ColorValue>(v); }

inline ColorValue plainColor(const QColor &c)
{
    return static_cast<ColorValue>(c.red()) | (static_cast<ColorValue>(c.green()) << 8)
           | (static_cast<ColorValue>(c.blue()) << 16);
}

// The RGB a plain value stands for (bits 24 to 30 are ignored).
inline QColor plainToQColor(ColorValue v)
{
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

// Where the system's scheme colours come from: the desktop palette on
// Linux, GetSysColor on Windows, a fixed table in tests.
class SystemColors {
public:
    virtual ~SystemColors() = default;
    virtual QColor systemColor(int index) const = 0;
};

QColor resolveColor(ColorValue v, const SystemColors &scheme);

} // namespace skylane
