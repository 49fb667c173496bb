#include "platform/linux/LinuxProgramIcons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace skylane {

namespace {

const QString &genericProgramIcon()
{
    static const QString path = QStringLiteral(":/icons/program.svg");
    return path;
}

QIcon themeIcon(const QString &name)
{
    if (name.isEmpty())
        return {};
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
        if (!QFileInfo(iconValue).isFile())
            return {};
        QIcon icon(iconValue);
        return icon.isNull() ? QIcon() : icon;
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
    // A path with a NUL names no file (the system would stop reading it
    // there, at a file the program could never be started from).
    struct stat st {};
    if (programPath.isEmpty() || programPath.contains('\0') || ::stat(programPath.constData(), &st) != 0
        || !S_ISREG(st.st_mode))
        return {};
    found = true;

    const int readings = m_entries.refresh();
    const qint64 changed = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    if (const Resolved *r = m_resolved.object(programPath)) {
        if (r->device == st.st_dev && r->inode == st.st_ino && r->size == st.st_size
            && r->changed == changed && r->readings == readings)
            return r->icon;
    }
    auto *r = new Resolved{quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size), changed, readings, {}, {}};
    r->icon = resolve(programPath, r->name);
    const QIcon icon = r->icon;
    m_resolved.insert(programPath, r);
    return icon;
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
        icon = QIcon(genericProgramIcon());
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
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            type = m_mimeTypes.mimeTypeForFileNameAndData(QFileInfo(displayName(programPath)).fileName(), &file);
        ::close(fd);
    }
    if (!type.isValid())
        type = m_mimeTypes.mimeTypeForFile(displayName(programPath), QMimeDatabase::MatchExtension);
    QIcon icon = themeIcon(type.iconName());
    if (icon.isNull())
        icon = themeIcon(type.genericIconName());
    return icon;
}

} // namespace skylane
