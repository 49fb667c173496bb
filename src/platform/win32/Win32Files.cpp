#include "core/Files.h"

#include "platform/win32/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

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

bool replace(const QByteArray &path, const QByteArray &content)
{
    if (path.isEmpty() || path.contains('\0'))
        return false;
    QSaveFile file(name(path));
    // Unbuffered: a failed write must reach QSaveFile, which then refuses to
    // commit; through the buffer it would surface only in the final flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
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
