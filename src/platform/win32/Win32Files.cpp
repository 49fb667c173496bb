#include "core/Files.h"

#include "platform/win32/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <io.h>
#include <windows.h>

namespace skylane::files {

// On Windows a path's bytes are in the ANSI code page, which is what Qt's
// local 8-bit encoding is there: every such path decodes and Qt's file
// classes reach it.
namespace {
QString name(const QByteArray &path)
{
    return QString::fromLocal8Bit(path);
}
} // namespace

Entry at(const QByteArray &path)
{
    Entry entry;
    const QFileInfo info(name(path));
    if (path.isEmpty() || path.contains('\0') || !info.exists())
        return entry;
    entry.kind = info.isFile() ? Kind::Regular : info.isDir() ? Kind::Folder : Kind::Special;
    entry.executable = info.isFile() && info.isExecutable();
    entry.size = info.size();
    entry.changedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    return entry;
}

std::optional<QByteArray> readRegular(const QByteArray &path)
{
    if (!at(path).isFile())
        return std::nullopt;
    QFile file(name(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool replace(const QByteArray &path, const QByteArray &content, QString *reason)
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (path.isEmpty() || path.contains('\0'))
        return fail(qt_error_string(ERROR_INVALID_NAME));
    const QFileInfo target(name(path));
    // Written beside the target and moved over it; QSaveFile's own
    // temporary name would not be recognisably ours after a crash.
    QTemporaryFile file(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                        + QLatin1String(kTemporaryMark) + QStringLiteral("XXXXXX"));
    if (!file.open())
        return fail(file.errorString());
    if (file.write(content) != content.size() || !file.flush())
        return fail(file.errorString());
    if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()))))
        return fail(qt_error_string(int(GetLastError())));
    file.close();
    const std::wstring from = QDir::toNativeSeparators(file.fileName()).toStdWString();
    const std::wstring to = QDir::toNativeSeparators(target.absoluteFilePath()).toStdWString();
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(qt_error_string(int(GetLastError())));
    file.setAutoRemove(false);
    return true;
}

void removeLeftoverTemporaries(const QByteArray &folder, qint64 olderThanNs)
{
    const QDir dir(name(folder));
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo &entry : entries) {
        if (isLeftoverTemporaryName(entry.fileName().toLocal8Bit())
            && entry.lastModified().toMSecsSinceEpoch() * 1000000 < olderThanNs)
            QFile::remove(entry.absoluteFilePath());
    }
}

QList<QByteArray> regularFilesIn(const QByteArray &folder)
{
    QList<QByteArray> names;
    const QStringList entries = QDir(name(folder)).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &entry : entries)
        names << entry.toLocal8Bit();
    return names;
}

bool makeFolder(const QByteArray &path)
{
    return QDir().mkdir(name(path));
}

bool canWriteInto(const QByteArray &folder)
{
    // Rights come from access lists that the file's attributes do not show:
    // a file made and removed again tells.
    QTemporaryFile probe(name(folder) + QStringLiteral("/skylane-XXXXXX.tmp"));
    return at(folder).kind == Kind::Folder && probe.open();
}

QByteArray matchNameIgnoringCase(const QByteArray &, const QByteArray &name)
{
    // Windows file names ignore letter case already.
    return name;
}

QByteArray programFolder()
{
    return QDir::fromNativeSeparators(QString::fromStdWString(win32::programFolder())).toLocal8Bit();
}

} // namespace skylane::files
