#include "core/Files.h"

#include "platform/win32/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryFile>

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
    const auto fail = [reason](DWORD error) {
        if (reason)
            *reason = qt_error_string(int(error));
        return false;
    };
    if (path.isEmpty() || path.contains('\0'))
        return fail(ERROR_INVALID_NAME);
    const QFileInfo target(name(path));
    const std::wstring to = QDir::toNativeSeparators(target.absoluteFilePath()).toStdWString();
    // Written beside the target under a name that is recognisably ours, then
    // moved over it.
    std::wstring from;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        const QString suffix = QString::number(QRandomGenerator::global()->bounded(2176782336u), 36) // 36^6
                                   .rightJustified(6, QLatin1Char('0'));
        from = QDir::toNativeSeparators(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                                        + QLatin1String(kTemporaryMark) + suffix)
                   .toStdWString();
        file = CreateFileW(from.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return fail(GetLastError());
    }
    if (file == INVALID_HANDLE_VALUE)
        return fail(ERROR_FILE_EXISTS);
    DWORD written = 0;
    bool ok = WriteFile(file, content.constData(), DWORD(content.size()), &written, nullptr)
              && written == DWORD(content.size()) && FlushFileBuffers(file);
    DWORD error = ok ? 0 : GetLastError();
    CloseHandle(file);
    if (ok && !MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = GetLastError();
    }
    if (ok)
        return true;
    DeleteFileW(from.c_str());
    return fail(error ? error : ERROR_WRITE_FAULT);
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
