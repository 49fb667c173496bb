#include "core/Files.h"

#include "platform/linux/UniqueCPtr.h"

#include <QCoreApplication>
#include <QFile>
#include <QtGlobal>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace skylane::files {

namespace {

// A path with a NUL names no file: the system would stop reading it there.
bool usable(const QByteArray &path)
{
    return !path.isEmpty() && !path.contains('\0');
}

// The path with every link and "." or ".." resolved; null when some part of
// it does not exist.
QByteArray realPath(const QByteArray &path)
{
    const UniqueCPtr<char> real(::realpath(path.constData(), nullptr));
    return real ? QByteArray(real.get()) : QByteArray();
}

bool writeAll(int fd, const QByteArray &content)
{
    const char *data = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

// Where a rewrite lands: the regular file a symbolic link points to, as an
// editor would keep it. A link to anything else is itself replaced, so that
// no device is ever replaced or written into.
QByteArray resolvedTarget(const QByteArray &path)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode) || !at(path).isFile())
        return path;
    const QByteArray target = realPath(path);
    return target.isNull() ? path : target;
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

Entry at(const QByteArray &path)
{
    Entry entry;
    struct stat st {};
    if (!usable(path) || ::stat(path.constData(), &st) != 0)
        return entry;
    entry.kind = S_ISREG(st.st_mode) ? Kind::Regular : S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Special;
    entry.executable = entry.kind == Kind::Regular && ::access(path.constData(), X_OK) == 0;
    entry.device = st.st_dev;
    entry.inode = st.st_ino;
    entry.size = st.st_size;
    entry.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return entry;
}

std::optional<QByteArray> readRegular(const QByteArray &path)
{
    // Checked before opening, so no device is opened at all, and again on
    // the open file: non-blocking, a FIFO put there meanwhile cannot hold
    // the program up.
    if (!at(path).isFile())
        return std::nullopt;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray content;
    content.reserve(qsizetype(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        content.append(buffer, n);
    }
    ::close(fd);
    return content;
}

// Our own write-and-rename rather than QSaveFile, which takes a QString name
// and so cannot reach a path whose bytes the locale does not decode.
bool replace(const QByteArray &path, const QByteArray &content, QString *reason)
{
    const auto fail = [reason](int error) {
        if (reason)
            *reason = qt_error_string(error);
        return false;
    };
    if (!usable(path))
        return fail(EINVAL);
    const QByteArray target = resolvedTarget(path);
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray temporary = target.left(slash + 1) + '.' + target.mid(slash + 1) + kTemporaryMark + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    struct stat old {};
    const mode_t mode = ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode) ? (old.st_mode & 07777)
                                                                                     : newFileMode();
    int error = 0;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, content) || ::fsync(fd) != 0)
        error = errno ? errno : EIO;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (!error)
        return true;
    ::unlink(temporary.constData());
    return fail(error);
}

void removeLeftoverTemporaries(const QByteArray &folder, qint64 olderThanNs)
{
    DIR *dir = usable(folder) ? ::opendir(folder.constData()) : nullptr;
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!isLeftoverTemporaryName(name))
            continue;
        const QByteArray path = folder + '/' + name;
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode)
            && qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec < olderThanNs)
            ::unlink(path.constData());
    }
    ::closedir(dir);
}

QList<QByteArray> regularFilesIn(const QByteArray &folder)
{
    QList<QByteArray> names;
    const QByteArray realFolder = usable(folder) ? realPath(folder) : QByteArray();
    DIR *dir = realFolder.isNull() ? nullptr : ::opendir(realFolder.constData());
    if (!dir)
        return names;
    const QByteArray inside = realFolder + '/';
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        const QByteArray path = inside + name;
        struct stat st {};
        if (name == "." || name == ".." || ::lstat(path.constData(), &st) != 0)
            continue;
        if (S_ISLNK(st.st_mode)) {
            // Followed only where it stays in the folder.
            const QByteArray real = realPath(path);
            const bool staysInside = !real.isNull() && real.startsWith(inside) && !real.mid(inside.size()).contains('/');
            if (!staysInside || !at(path).isFile())
                continue;
        } else if (!S_ISREG(st.st_mode)) {
            continue;
        }
        names << name;
    }
    ::closedir(dir);
    return names;
}

bool makeFolder(const QByteArray &path)
{
    return usable(path) && ::mkdir(path.constData(), 0777) == 0;
}

bool canWriteInto(const QByteArray &folder)
{
    return usable(folder) && at(folder).kind == Kind::Folder && ::access(folder.constData(), W_OK | X_OK) == 0;
}

QByteArray matchNameIgnoringCase(const QByteArray &folder, const QByteArray &name)
{
    if (at(folder + '/' + name).kind != Kind::Missing)
        return name;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return name;
    QByteArray found = name;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray entryName(entry->d_name);
        if (entryName.compare(name, Qt::CaseInsensitive) == 0) {
            found = entryName;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

QByteArray programFolder()
{
    // The kernel's link holds the program's path as bytes; Qt's own answer
    // went through the locale's decoding and could name a folder that does
    // not exist.
    QByteArray program = realPath("/proc/self/exe");
    if (program.isNull())
        program = QFile::encodeName(QCoreApplication::applicationFilePath());
    const qsizetype slash = program.lastIndexOf('/');
    return slash > 0 ? program.left(slash) : QByteArrayLiteral("/");
}

} // namespace skylane::files
