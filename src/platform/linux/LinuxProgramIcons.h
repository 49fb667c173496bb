#pragma once

#include "platform/Services.h"
#include "platform/linux/DesktopEntryIndex.h"

#include <QCache>
#include <QMimeDatabase>

namespace skylane {

// The small icon of a program on a Linux desktop: the icon of the desktop
// entry that starts it (Icon= from the icon theme, or an image file), else
// the icon of the file's type from the theme, else the program's own
// generic program icon. A path that names no file has no icon.
//
// What a path resolved to is remembered against the file's identity (device,
// inode, size, change time), so rebuilding a row costs one stat per button;
// a changed or replaced program is looked up again, and every program once
// the desktop entries were read again.
class LinuxProgramIcons final : public ProgramIcons {
public:
    explicit LinuxProgramIcons(QStringList applicationFolders = DesktopEntryIndex::xdgApplicationFolders());

    QIcon smallIcon(const QByteArray &programPath, bool &found) override;
    void prefetch(const QList<QByteArray> &programPaths) override;
    QString programName(const QByteArray &programPath) override;

    DesktopEntryIndex &desktopEntries() { return m_entries; }

private:
    struct Resolved {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 changed = 0;
        QIcon icon;
        QString name;
    };

    QIcon resolve(const QByteArray &programPath, QString &name);
    QIcon fileTypeIcon(const QByteArray &programPath);

    DesktopEntryIndex m_entries;
    QMimeDatabase m_mimeTypes;
    QCache<QByteArray, Resolved> m_resolved{1024};
};

// The icon an entry's Icon= value names: an image file by absolute path,
// else a name of the icon theme (a legacy ".png", ".svg" or ".xpm" suffix
// dropped). Null when neither gives one.
QIcon desktopEntryIcon(const QString &iconValue);

// On a desktop that names no icon theme (or only the base "hicolor"), takes
// an installed full theme, so that programs and file types get their icons.
void adoptInstalledIconTheme();

} // namespace skylane
