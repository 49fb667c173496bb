#include "platform/linux/LinuxProgramIcons.h"

#include "artwork/Artwork.h"
#include "core/Files.h"
#include "platform/linux/DrawnIcon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <initializer_list>

#include <fcntl.h>
#include <unistd.h>

namespace skylane {

namespace {

// A picture file read by the reader its suffix names (Qt's own loading
// would first ask every image plugin whether it knows the file, and so load
// them all).
QPixmap readPicture(const QString &path)
{
    return QPixmap::fromImage(readImageAs(path, QFileInfo(path).suffix().toLower().toLatin1().constData()));
}

// The folders of one size folder ("16x16", "scalable") of the theme and of
// hicolor, each listed once per process.
QStringList themeFolders(const QString &theme, const QString &size)
{
    static QHash<QString, QStringList> contexts; // size folder -> its subfolders
    QStringList folders;
    for (const QString &base : QIcon::themeSearchPaths()) {
        const QString sizeFolder = base + u'/' + theme + u'/' + size;
        auto it = contexts.constFind(sizeFolder);
        if (it == contexts.constEnd())
            it = contexts.insert(sizeFolder, QDir(sizeFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot));
        for (const QString &context : *it)
            folders.append(sizeFolder + u'/' + context);
    }
    return folders;
}

QString firstExisting(const QStringList &folders, const QString &name, std::initializer_list<const char *> suffixes)
{
    for (const QString &folder : folders) {
        for (const char *suffix : suffixes) {
            const QString file = folder + u'/' + name + QLatin1String(suffix);
            if (QFileInfo::exists(file))
                return file;
        }
    }
    return {};
}

QString fixedSizeIconFile(const QString &theme, const QString &name, int pixels)
{
    return firstExisting(themeFolders(theme, QStringLiteral("%1x%1").arg(pixels)), name, {".png", ".xpm"});
}

QIcon themeIcon(const QString &name)
{
    if (name.isEmpty())
        return {};
    // The common layouts are read directly, the theme before hicolor: the
    // small icon and its double for a scale of 2 as plain pictures when
    // drawn at those sizes, else the scalable drawing, which fits any size.
    // Qt's icon loader would parse both themes' whole descriptions first,
    // the costliest step of a start. Other layouts still go through it.
    for (const QString &theme : {QIcon::themeName(), QStringLiteral("hicolor")}) {
        if (const QString small = fixedSizeIconFile(theme, name, 16); !small.isEmpty()) {
            QIcon icon(readPicture(small));
            if (const QString large = fixedSizeIconFile(theme, name, 32); !large.isEmpty())
                icon.addPixmap(readPicture(large));
            return icon;
        }
        if (const QString drawing = firstExisting(themeFolders(theme, QStringLiteral("scalable")), name, {".svg"});
            !drawing.isEmpty())
            return drawnIcon(drawing);
    }
    QStringList unthemed;
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        unthemed.append(data + QStringLiteral("/pixmaps"));
    if (const QString picture = firstExisting(unthemed, name, {".png", ".xpm"}); !picture.isEmpty())
        return QIcon(readPicture(picture));
    QIcon icon = QIcon::fromTheme(name);
    return icon.isNull() ? QIcon() : icon;
}

// The path as text, for the steps that match names (desktop entries, file
// name patterns). Bytes the locale cannot decode only cost those matches;
// the file itself is always reached through the bytes.
QString displayName(const QByteArray &path)
{
    return QFile::decodeName(path);
}

} // namespace

QIcon desktopEntryIcon(const QString &iconValue)
{
    if (iconValue.isEmpty())
        return {};
    if (QDir::isAbsolutePath(iconValue)) {
        const QFileInfo file(iconValue);
        if (!file.isFile())
            return {};
        // A picture file is read by the reader its suffix names; only an
        // SVG needs the SVG engine, and only a file without a known suffix
        // is left to Qt to recognise.
        const QByteArray format = file.suffix().toLower().toLatin1();
        if (format.startsWith("svg"))
            return drawnIcon(iconValue);
        if (format.isEmpty()) {
            QIcon icon(iconValue);
            return icon.isNull() ? QIcon() : icon;
        }
        const QPixmap picture = readPicture(iconValue);
        return picture.isNull() ? QIcon() : QIcon(picture);
    }
    QString name = iconValue;
    for (const char *suffix : {".png", ".svg", ".xpm"})
        if (name.endsWith(QLatin1String(suffix)))
            name.chop(4);
    return themeIcon(name);
}

void adoptInstalledIconTheme()
{
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;
    for (const char *name : {"Adwaita", "breeze", "gnome", "Tango", "oxygen"}) {
        for (const QString &dir : QIcon::themeSearchPaths()) {
            if (QFileInfo::exists(dir + u'/' + QLatin1String(name) + QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(QLatin1String(name));
                return;
            }
        }
    }
}

LinuxProgramIcons::LinuxProgramIcons(QStringList applicationFolders) : m_entries(std::move(applicationFolders)) {}

QIcon LinuxProgramIcons::smallIcon(const QByteArray &programPath, bool &found)
{
    found = false;
    const files::Entry file = files::at(programPath);
    if (!file.isFile())
        return {};
    found = true;

    if (m_entries.refresh())
        m_resolved.clear();
    if (const Resolved *r = m_resolved.object(programPath)) {
        if (r->device == file.device && r->inode == file.inode && r->size == file.size
            && r->changed == file.changedNs)
            return r->icon;
    }
    auto *r = new Resolved{file.device, file.inode, file.size, file.changedNs, {}, {}};
    r->icon = resolve(programPath, r->name);
    const QIcon icon = r->icon;
    m_resolved.insert(programPath, r);
    return icon;
}

void LinuxProgramIcons::prefetch(const QList<QByteArray> &programPaths)
{
    bool found = false;
    for (const QByteArray &path : programPaths)
        smallIcon(path, found);
}

QString LinuxProgramIcons::programName(const QByteArray &programPath)
{
    // The name was found with the icon the row shows.
    const Resolved *r = m_resolved.object(programPath);
    return r && !r->name.isEmpty() ? r->name : ProgramIcons::programName(programPath);
}

QIcon LinuxProgramIcons::resolve(const QByteArray &programPath, QString &name)
{
    QByteArray absolute = programPath;
    if (!absolute.startsWith('/'))
        absolute = QFile::encodeName(QDir::currentPath()) + '/' + absolute;
    const DesktopEntryIndex::Described described = m_entries.describe(displayName(absolute));
    name = described.name;
    QIcon icon = desktopEntryIcon(described.icon);
    if (icon.isNull())
        icon = fileTypeIcon(programPath);
    if (icon.isNull())
        icon = artworkIcon(QStringLiteral("program"), QSize(16, 16));
    return icon;
}

QIcon LinuxProgramIcons::fileTypeIcon(const QByteArray &programPath)
{
    // Opened by its bytes, so that the contents decide even where the name
    // does not decode.
    const int fd = ::open(programPath.constData(), O_RDONLY | O_CLOEXEC);
    QMimeType type;
    if (fd >= 0) {
        QFile file;
        // A program is told by its first bytes (ELF, "#!"); the name's
        // patterns, which need a regular-expression engine, only when the
        // bytes say nothing.
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            type = m_mimeTypes.mimeTypeForData(&file);
        ::close(fd);
    }
    if (!type.isValid() || type.isDefault())
        type = m_mimeTypes.mimeTypeForFile(displayName(programPath), QMimeDatabase::MatchExtension);
    QIcon icon = themeIcon(type.iconName());
    if (icon.isNull())
        icon = themeIcon(type.genericIconName());
    return icon;
}

} // namespace skylane
