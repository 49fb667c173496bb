#pragma once

#include <QFileSystemWatcher>
#include <QStringList>

#include <utility>

namespace skylane {

// Tells whether the desktop-entry folders changed since they were last read:
// it watches each folder read (subfolders included) and, for a folder that
// does not exist yet, the folder it would appear in.
class DesktopFolderWatch {
public:
    DesktopFolderWatch();

    // Watches `read` from now on, and the parent of each of `wanted` that is
    // missing; forgets every other folder.
    void watch(const QStringList &read, const QStringList &wanted);

    // Whether a watched folder changed since the last call (true at first,
    // when nothing has been read yet).
    bool takeChange() { return std::exchange(m_changed, false); }

private:
    QFileSystemWatcher m_watcher;
    bool m_changed = true;
};

} // namespace skylane
