#include "platform/linux/DesktopFolderWatch.h"

#include <QFileInfo>

namespace skylane {

DesktopFolderWatch::DesktopFolderWatch()
{
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_watcher, [this] { m_changed = true; });
}

void DesktopFolderWatch::watch(const QStringList &read, const QStringList &wanted)
{
    QStringList folders = read;
    for (const QString &folder : wanted) {
        const QFileInfo info(folder);
        if (!info.isDir() && QFileInfo(info.absolutePath()).isDir() && !folders.contains(info.absolutePath()))
            folders << info.absolutePath();
    }
    const QStringList watched = m_watcher.directories();
    QStringList gone;
    for (const QString &dir : watched)
        if (!folders.contains(dir))
            gone << dir;
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    QStringList added;
    for (const QString &dir : std::as_const(folders))
        if (!watched.contains(dir))
            added << dir;
    if (!added.isEmpty())
        m_watcher.addPaths(added);
}

} // namespace skylane
