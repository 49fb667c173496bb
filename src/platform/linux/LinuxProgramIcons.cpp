#include "platform/linux/LinuxProgramIcons.h"

#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
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
    const files::Entry file = files::at(programPath);
    if (!file.isFile())
        return {};
    found = true;

    const int readings = m_entries.refresh();
    if (const Resolved *r = m_resolved.object(programPath)) {
        if (r->device == file.device && r->inode == file.inode && r->size == file.size
            && r->changed == file.changedNs && r->readings == readings)
            return r->icon;
    }
    auto *r = new Resolved{file.device, file.inode, file.size, file.changedNs, readings, resolve(programPath)};
    const QIcon icon = r->icon;
    m_resolved.insert(programPath, r);
    return icon;
}

QIcon LinuxProgramIcons::resolve(const QByteArray &programPath)
{
    QByteArray absolute = programPath;
    if (!absolute.startsWith('/'))
        absolute = QFile::encodeName(QDir::currentPath()) + '/' + absolute;
    QIcon icon = desktopEntryIcon(m_entries.iconName(displayName(absolute)));
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
