#include "platform/linux/DesktopEntryIndex.h"

#include "core/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

namespace skylane {

namespace {

QStringList splitDataDirs(const QByteArray &value, const QStringList &fallback)
{
    QStringList dirs;
    for (const QString &dir : QString::fromLocal8Bit(value).split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            dirs << dir;
    return dirs.isEmpty() ? fallback : dirs;
}

QString dataHome()
{
    return splitDataDirs(qgetenv("XDG_DATA_HOME"), {QDir::homePath() + QStringLiteral("/.local/share")}).constFirst();
}

// The user's Flatpak installation first, then the system's.
QStringList flatpakInstallations()
{
    return {dataHome() + QStringLiteral("/flatpak"), QStringLiteral("/var/lib/flatpak")};
}

// A value of the [Desktop Entry] group with the format's escapes undone.
QString unescapeValue(const QString &raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c != u'\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const QChar n = raw.at(++i);
        switch (n.unicode()) {
        case 's': out += u' '; break;
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        case 'r': out += u'\r'; break;
        default: out += n; break; // "\\" and "\;" (and anything else) as the character
        }
    }
    return out;
}

// The words of an Exec value: blanks separate, double quotes group, and
// inside quotes a backslash escapes the next character.
QStringList execWords(const QString &exec)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == u'\\' && i + 1 < exec.size())
                word += exec.at(++i);
            else if (c == u'"')
                quoted = false;
            else
                word += c;
        } else if (c == u'"') {
            quoted = true;
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

QString resolveProgram(const QString &program)
{
    if (program.isEmpty())
        return {};
    if (QDir::isAbsolutePath(program))
        return QDir::cleanPath(program);
    if (program.contains(u'/'))
        return {}; // relative to no folder we could know
    return QStandardPaths::findExecutable(program);
}

} // namespace

std::optional<DesktopEntry> readDesktopEntry(const QString &path)
{
    // A FIFO or device dropped onto the bar is never waited on.
    const std::optional<QByteArray> content = files::readRegular(QFile::encodeName(path));
    if (!content)
        return std::nullopt;
    DesktopEntry entry;
    bool inMainGroup = false;
    for (const QByteArray &raw : content->split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            if (inMainGroup)
                break;
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QStringView key = QStringView(line).left(eq).trimmed();
        const QString value = unescapeValue(line.mid(eq + 1).trimmed());
        if (key == u"Name")
            entry.name = value;
        else if (key == u"Exec")
            entry.exec = value;
        else if (key == u"TryExec")
            entry.tryExec = value;
        else if (key == u"Icon")
            entry.icon = value;
        else if (key == u"X-Flatpak")
            entry.flatpakId = value;
        else if (key == u"Terminal")
            entry.terminal = value == QLatin1String("true");
        else if (key == u"Hidden")
            entry.hidden = value == QLatin1String("true");
    }
    return entry;
}

QString programOfDesktopEntry(const QString &path)
{
    const std::optional<DesktopEntry> entry = readDesktopEntry(path);
    if (!entry || entry->terminal)
        return {};
    QString program;
    if (!entry->flatpakId.isEmpty()) {
        // An id is a dotted name; anything that could leave the folder is not one.
        if (entry->flatpakId.contains(u'/') || entry->flatpakId.startsWith(u'.'))
            return {};
        for (const QString &installation : flatpakInstallations()) {
            const QString launcher = installation + QStringLiteral("/exports/bin/") + entry->flatpakId;
            if (QFileInfo(launcher).isExecutable()) {
                program = launcher;
                break;
            }
        }
    } else {
        const QStringList words = execWords(entry->exec);
        static const QRegularExpression fieldCode(QStringLiteral("^%[fFuUickdDnNvm]$"));
        for (qsizetype i = 1; i < words.size(); ++i)
            if (!fieldCode.match(words.at(i)).hasMatch())
                return {};
        program = resolveProgram(words.value(0));
    }
    const QFileInfo info(program);
    return !program.isEmpty() && info.isFile() && info.isExecutable() ? program : QString();
}

QString execProgram(const QString &exec)
{
    const QStringList words = execWords(exec);
    qsizetype i = 0;
    if (i < words.size() && QFileInfo(words.at(i)).fileName() == QLatin1String("env")) {
        ++i;
        while (i < words.size() && (words.at(i).contains(u'=') || words.at(i).startsWith(u'-'))) {
            // Options of env that take the next word as their value.
            const QString &w = words.at(i);
            const bool takesValue = w == QLatin1String("-u") || w == QLatin1String("--unset")
                                    || w == QLatin1String("-C") || w == QLatin1String("--chdir");
            i += takesValue ? 2 : 1;
        }
    }
    return i < words.size() ? words.at(i) : QString();
}

DesktopEntryIndex::DesktopEntryIndex(QStringList applicationFolders, QObject *parent)
    : QObject(parent), m_folders(std::move(applicationFolders))
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_stale = true; });
}

QStringList DesktopEntryIndex::xdgApplicationFolders()
{
    QStringList dataDirs{dataHome()};
    dataDirs << splitDataDirs(qgetenv("XDG_DATA_DIRS"),
                              {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    QStringList folders;
    for (const QString &dir : std::as_const(dataDirs)) {
        const QString folder = QDir::cleanPath(dir + QStringLiteral("/applications"));
        if (!folders.contains(folder))
            folders << folder;
    }
    const QString snaps = QStringLiteral("/var/lib/snapd/desktop/applications");
    if (!folders.contains(snaps))
        folders << snaps;
    return folders;
}

int DesktopEntryIndex::refresh()
{
    if (m_stale)
        reindex();
    return m_readings;
}

DesktopEntryIndex::Described DesktopEntryIndex::describe(const QString &programPath)
{
    refresh();
    if (!QDir::isAbsolutePath(programPath))
        return {};
    const QString clean = QDir::cleanPath(programPath);
    const QString id = packagedEntryId(clean);
    if (!id.isEmpty()) {
        if (const auto it = m_byId.constFind(id); it != m_byId.constEnd())
            return *it;
        // A Flatpak's own entry lies beside its launcher even where the
        // session does not list the exports among its data folders.
        const QString exported = QFileInfo(clean).path() + QStringLiteral("/../share/applications/") + id;
        const std::optional<DesktopEntry> entry = readDesktopEntry(exported);
        return entry && !entry->hidden ? Described{entry->icon, entry->name} : Described{};
    }
    if (const auto it = m_byProgram.constFind(clean); it != m_byProgram.constEnd())
        return *it;
    const QString canonical = QFileInfo(clean).canonicalFilePath();
    if (canonical.isEmpty() || canonical == clean)
        return {};
    return m_byProgram.value(canonical);
}

// The desktop file id of a packaged application's launcher: a Flatpak's
// exports/bin/<app id> has the entry <app id>.desktop, a Snap's
// /snap/bin/<snap>[.<app>] the entry <snap>_<app>.desktop (the app named
// like the snap when the launcher has no dot). Empty for any other program.
QString DesktopEntryIndex::packagedEntryId(const QString &programPath) const
{
    const QFileInfo info(programPath);
    const QString name = info.fileName();
    if (info.path().endsWith(QLatin1String("/flatpak/exports/bin")))
        return name + QStringLiteral(".desktop");
    if (info.path() != m_snapLaunchers)
        return {};
    const qsizetype dot = name.indexOf(u'.');
    const QString snap = dot < 0 ? name : name.left(dot);
    return snap + u'_' + (dot < 0 ? name : name.mid(dot + 1)) + QStringLiteral(".desktop");
}

void DesktopEntryIndex::reindex()
{
    m_stale = false;
    ++m_readings;
    m_byProgram.clear();
    m_byId.clear();
    m_readFolders.clear();
    QSet<QString> seenIds;
    QSet<QString> visited;
    for (const QString &folder : std::as_const(m_folders))
        indexFolder(folder, folder, seenIds, visited);
    watchFolders();
}

void DesktopEntryIndex::indexFolder(const QString &root, const QString &folder, QSet<QString> &seenIds,
                                    QSet<QString> &visited)
{
    const QDir dir(folder);
    // Each folder once, however links lead back to it.
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);
    m_readFolders << folder;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
    for (const QFileInfo &info : entries) {
        if (info.isDir()) {
            indexFolder(root, info.filePath(), seenIds, visited);
            continue;
        }
        if (!info.fileName().endsWith(QLatin1String(".desktop")))
            continue;
        // The desktop file id: the path below the folder, '/' read as '-'.
        QString id = info.filePath().mid(root.size() + 1);
        id.replace(u'/', u'-');
        if (seenIds.contains(id))
            continue;
        seenIds.insert(id);
        indexEntry(info.filePath(), id);
    }
}

void DesktopEntryIndex::indexEntry(const QString &file, const QString &id)
{
    const std::optional<DesktopEntry> entry = readDesktopEntry(file);
    if (!entry || entry->hidden)
        return;
    const Described described{entry->icon, entry->name};
    m_byId.insert(id, described);
    if (entry->icon.isEmpty())
        return;
    addProgram(resolveProgram(entry->tryExec), described);
    addProgram(resolveProgram(execProgram(entry->exec)), described);
}

void DesktopEntryIndex::addProgram(const QString &program, const Described &described)
{
    if (program.isEmpty())
        return;
    if (!m_byProgram.contains(program))
        m_byProgram.insert(program, described);
    // Also under the file a link leads to, so that /usr/bin/x-www-browser
    // and the browser it names find each other.
    const QString canonical = QFileInfo(program).canonicalFilePath();
    if (!canonical.isEmpty() && !m_byProgram.contains(canonical))
        m_byProgram.insert(canonical, described);
}

void DesktopEntryIndex::watchFolders()
{
    QStringList wanted = m_readFolders;
    // A folder that does not exist yet is noticed when it appears.
    for (const QString &folder : std::as_const(m_folders)) {
        if (!QFileInfo(folder).isDir()) {
            const QString parent = QFileInfo(folder).absolutePath();
            if (QFileInfo(parent).isDir() && !wanted.contains(parent))
                wanted << parent;
        }
    }
    const QStringList watched = m_watcher.directories();
    QStringList gone;
    for (const QString &dir : watched)
        if (!wanted.contains(dir))
            gone << dir;
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    QStringList added;
    for (const QString &dir : std::as_const(wanted))
        if (!watched.contains(dir))
            added << dir;
    if (!added.isEmpty())
        m_watcher.addPaths(added);
}

} // namespace skylane
