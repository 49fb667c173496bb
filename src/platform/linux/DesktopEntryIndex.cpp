#include "platform/linux/DesktopEntryIndex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    const QString home = QDir::homePath();
    QStringList dataDirs = splitDataDirs(qgetenv("XDG_DATA_HOME"), {home + QStringLiteral("/.local/share")});
    dataDirs = dataDirs.mid(0, 1);
    dataDirs << splitDataDirs(qgetenv("XDG_DATA_DIRS"),
                              {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    QStringList folders;
    for (const QString &dir : std::as_const(dataDirs)) {
        const QString folder = QDir::cleanPath(dir + QStringLiteral("/applications"));
        if (!folders.contains(folder))
            folders << folder;
    }
    return folders;
}

int DesktopEntryIndex::refresh()
{
    if (m_stale)
        reindex();
    return m_readings;
}

QString DesktopEntryIndex::iconName(const QString &programPath)
{
    refresh();
    if (m_iconByProgram.isEmpty() || !QDir::isAbsolutePath(programPath))
        return {};
    const QString clean = QDir::cleanPath(programPath);
    auto it = m_iconByProgram.constFind(clean);
    if (it != m_iconByProgram.constEnd())
        return *it;
    const QString canonical = QFileInfo(clean).canonicalFilePath();
    if (canonical.isEmpty() || canonical == clean)
        return {};
    return m_iconByProgram.value(canonical);
}

void DesktopEntryIndex::reindex()
{
    m_stale = false;
    ++m_readings;
    m_iconByProgram.clear();
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
        indexEntry(info.filePath());
    }
}

void DesktopEntryIndex::indexEntry(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    bool inMainGroup = false;
    QString exec, tryExec, icon;
    bool hidden = false;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
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
        if (key == u"Exec")
            exec = value;
        else if (key == u"TryExec")
            tryExec = value;
        else if (key == u"Icon")
            icon = value;
        else if (key == u"Hidden")
            hidden = value == QLatin1String("true");
    }
    if (hidden || icon.isEmpty())
        return;
    addProgram(resolveProgram(tryExec), icon);
    addProgram(resolveProgram(execProgram(exec)), icon);
}

void DesktopEntryIndex::addProgram(const QString &program, const QString &icon)
{
    if (program.isEmpty())
        return;
    if (!m_iconByProgram.contains(program))
        m_iconByProgram.insert(program, icon);
    // Also under the file a link leads to, so that /usr/bin/x-www-browser
    // and the browser it names find each other.
    const QString canonical = QFileInfo(program).canonicalFilePath();
    if (!canonical.isEmpty() && !m_iconByProgram.contains(canonical))
        m_iconByProgram.insert(canonical, icon);
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
