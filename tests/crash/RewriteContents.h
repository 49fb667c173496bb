#pragma once

#include "bar/Settings.h"
#include "platform/ColorValue.h"
#include "platform/TextFile.h"

#include <QByteArray>
#include <QList>

// The two contents the rewrite driver alternates between, shared with the
// test that kills it. They differ in length and in every line, so a file cut
// short, grown, or mixed from both shows.
namespace skylane::crashtest {

inline QList<QByteArray> categoryLines(bool second)
{
    QList<QByteArray> lines;
    const int count = second ? 300 : 420;
    for (int i = 0; i < count; ++i) {
        lines.append(second ? QByteArray("/opt/second/program-") + QByteArray::number(i) + " with spaces"
                            : QByteArray("/usr/bin/first-") + QByteArray::number(i));
        if (i % 7 == 3)
            lines.append(QByteArray()); // a blank button
    }
    return lines;
}

inline SettingsRecord settingsRecord(bool second)
{
    return second ? SettingsRecord{1500.5f, 30, 255, toSigned(systemColor(14)), QStringLiteral("DejaVu Sans")}
                  : SettingsRecord{5100, 4620, toSigned(systemColor(1)), 0xFFFFFF, QStringLiteral("MS Serif")};
}

inline QByteArray categoryBytes(bool second) { return textfile::joinLines(categoryLines(second)); }
inline QByteArray settingsBytes(bool second) { return textfile::joinLines(formatSettings(settingsRecord(second))); }

} // namespace skylane::crashtest
