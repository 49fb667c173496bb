#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace skylane {

class AppPaths;
class BarWindow;
class ConfigWriter;

// What a settings file sets, as far as it could be read. Reading stops at
// the first value that does not convert; what came before it stays.
struct SettingsValues {
    std::optional<float> left;         // "LF= ", twips
    std::optional<float> top;          // "TP= ", twips
    std::optional<qint32> backColor;   // "BG= "
    std::optional<qint32> captionColor; // "TC= "
    std::optional<QString> captionFont; // "TF= "
};

// The bar's state as the settings file records it.
struct SettingsRecord {
    float left = 0;
    float top = 0;
    qint32 backColor = 0;
    qint32 captionColor = 0;
    QString captionFont;
};

SettingsValues parseSettings(const QList<QByteArray> &lines);
QList<QByteArray> formatSettings(const SettingsRecord &record);

// Number conversions of the file, in the user's locale (what a locale
// writes it reads back); blanks around a number are ignored.
std::optional<float> parseSingle(const QByteArray &text);
std::optional<qint32> parseLong(const QByteArray &text);
QByteArray formatSingle(float value);

// Reads the settings file and applies it to the bar and its caption.
void loadSettings(BarWindow &bar, const AppPaths &paths);
// Rewrites the whole settings file from the bar's state; false when the
// file could not be replaced (the old one then stays as it was, and the
// writer keeps the new content for its next save).
[[nodiscard]] bool saveSettings(const BarWindow &bar, const AppPaths &paths, ConfigWriter &writer);

} // namespace skylane
