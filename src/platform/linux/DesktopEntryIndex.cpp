#include "platform/linux/DesktopEntryIndex.h"

#include "core/Files.h"
#include "platform/linux/UniqueCPtr.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <dirent.h>

namespace skylane {

namespace {

// The folder's entry names (bytes) in a stable order.
QByteArrayList namesIn(const QByteArray &folder)
{
    QByteArrayList names;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

QByteArray canonicalPath(const QByteArray &path)
{
    const UniqueCPtr<char> real(::realpath(path.constData(), nullptr));
    return QByteArray(real.get());
}

} // namespace

DesktopEntryIndex::DesktopEntryIndex(QStringList applicationFolders) : m_folders(std::move(applicationFolders)) {}

QStringList DesktopEntryIndex::xdgApplicationFolders()
{
    QStringList dataDirs{userDataFolder()};
    for (const QString &dir : qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            dataDirs << dir;
    if (dataDirs.size() == 1)
        dataDirs << QStringLiteral("/usr/local/share") << QStringLiteral("/usr/share");
    dataDirs << QStringLiteral("/var/lib/snapd/desktop");
    QStringList folders;
    for (const QString &dir : std::as_const(dataDirs)) {
        const QString folder = QDir::cleanPath(dir + QStringLiteral("/applications"));
        if (!folders.contains(folder))
            folders << folder;
    }
    return folders;
}

bool DesktopEntryIndex::refresh()
{
    if (m_reading.valid()) {
        // The reading begun ahead stands for the first one; no change can
        // have been told before it, as nothing was watched yet.
        m_watch.takeChange();
        adopt(m_reading.get());
        return true;
    }
    if (!m_watch.takeChange())
        return false;
    adopt(read(m_folders));
    return true;
}

DesktopEntryIndex::Described DesktopEntryIndex::describe(const QString &programPath)
{
    refresh();
    if (!QDir::isAbsolutePath(programPath))
        return {};
    const QString clean = QDir::cleanPath(programPath);
    const QByteArray id = packagedEntryId(clean);
    if (!id.isEmpty()) {
        if (const auto it = m_contents.byId.constFind(id); it != m_contents.byId.constEnd())
            return *it;
        // A Flatpak's own entry lies beside its launcher even where the
        // session does not list the exports among its data folders.
        const QByteArray exported = QFile::encodeName(QFileInfo(clean).path()) + "/../share/applications/" + id;
        const std::optional<DesktopEntry> entry = readDesktopEntry(exported);
        return entry && !entry->hidden ? Described{entry->icon, entry->name} : Described{};
    }
    if (const auto it = m_contents.byProgram.constFind(clean); it != m_contents.byProgram.constEnd())
        return *it;
    const QString canonical = QFileInfo(clean).canonicalFilePath();
    if (canonical.isEmpty() || canonical == clean)
        return {};
    return m_contents.byProgram.value(canonical);
}

// The desktop file id of a packaged application's launcher: a Flatpak's
// exports/bin/<app id> has the entry <app id>.desktop, a Snap's
// /snap/bin/<snap>[.<app>] the entry <snap>_<app>.desktop (the app named
// like the snap when the launcher has no dot). Empty for any other program.
QByteArray DesktopEntryIndex::packagedEntryId(const QString &programPath) const
{
    const QFileInfo info(programPath);
    const QString name = info.fileName();
    if (info.path().endsWith(QLatin1String("/flatpak/exports/bin")))
        return QFile::encodeName(name) + ".desktop";
    if (info.path() != m_snapLaunchers)
        return {};
    const qsizetype dot = name.indexOf(u'.');
    const QString snap = dot < 0 ? name : name.left(dot);
    return QFile::encodeName(snap + u'_' + (dot < 0 ? name : name.mid(dot + 1))) + ".desktop";
}

DesktopEntryIndex::Contents DesktopEntryIndex::read(const QStringList &folders)
{
    Contents contents;
    QSet<QByteArray> seenIds;
    QSet<QByteArray> visited;
    for (const QString &folder : folders)
        indexFolder(contents, QFile::encodeName(folder), QFile::encodeName(folder), seenIds, visited);
    return contents;
}

void DesktopEntryIndex::adopt(Contents contents)
{
    m_contents = std::move(contents);
    m_watch.watch(m_contents.readFolders, m_folders);
}

void DesktopEntryIndex::indexFolder(Contents &contents, const QByteArray &root, const QByteArray &folder,
                                    QSet<QByteArray> &seenIds, QSet<QByteArray> &visited)
{
    // Each folder once, however links lead back to it.
    const QByteArray canonical = canonicalPath(folder);
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);
    contents.readFolders << QFile::decodeName(folder);
    for (const QByteArray &name : namesIn(folder)) {
        const QByteArray path = folder + '/' + name;
        const files::Entry file = files::at(path);
        if (file.kind == files::Kind::Folder) {
            indexFolder(contents, root, path, seenIds, visited);
            continue;
        }
        if (!name.endsWith(".desktop") || !file.isFile())
            continue;
        // The desktop file id: the path below the folder, '/' read as '-'.
        QByteArray id = path.mid(root.size() + 1);
        id.replace('/', '-');
        if (seenIds.contains(id))
            continue;
        seenIds.insert(id);
        indexEntry(contents, path, id);
    }
}

void DesktopEntryIndex::indexEntry(Contents &contents, const QByteArray &file, const QByteArray &id)
{
    const std::optional<DesktopEntry> entry = readDesktopEntry(file);
    if (!entry || entry->hidden)
        return;
    const Described described{entry->icon, entry->name};
    contents.byId.insert(id, described);
    addProgram(contents, resolveProgram(entry->tryExec), described);
    addProgram(contents, resolveProgram(execProgram(entry->exec)), described);
}

void DesktopEntryIndex::addProgram(Contents &contents, const QString &program, const Described &described)
{
    if (program.isEmpty())
        return;
    // Also under the file a link leads to, so that /usr/bin/x-www-browser
    // and the browser it names find each other.
    for (const QString &key : {program, QFileInfo(program).canonicalFilePath()}) {
        if (key.isEmpty())
            continue;
        const auto it = contents.byProgram.find(key);
        if (it == contents.byProgram.end())
            contents.byProgram.insert(key, described);
        else if (it->icon.isEmpty() && !described.icon.isEmpty())
            *it = described;
    }
}

void DesktopEntryIndex::readAhead()
{
    if (!m_reading.valid())
        m_reading = std::async(std::launch::async, &DesktopEntryIndex::read, m_folders);
}

} // namespace skylane
