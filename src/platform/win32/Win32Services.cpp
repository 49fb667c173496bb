#include "platform/win32/Win32Services.h"

#include "core/Logging.h"
#include "platform/win32/SessionEnd.h"
#include "platform/win32/SmallIcon.h"
#include "platform/win32/StartProgram.h"
#include "platform/win32/SystemColors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

namespace skylane {

void Win32ProgramLauncher::startMinimized(const QByteArray &programPath, const QByteArrayList &arguments)
{
    std::vector<std::string> bytes;
    for (const QByteArray &argument : arguments)
        bytes.push_back(argument.toStdString());
    if (!win32::startMinimized(programPath.toStdString(), bytes))
        qCWarning(lcLaunch) << "could not start" << programPath;
}

QByteArray Win32ProgramLauncher::programForFile(const QByteArray &file)
{
    // As the file-open dialog's choice: an existing file whose name ends
    // "exe"; shortcuts are not followed.
    return file.endsWith("exe") && QFileInfo(QString::fromLocal8Bit(file)).isFile() ? file : QByteArray();
}

QIcon Win32ProgramIcons::smallIcon(const QByteArray &programPath, bool &found)
{
    HICON handle = win32::smallIcon(programPath.toStdString(), found);
    if (!handle)
        return {};
    const QImage image = QImage::fromHICON(handle);
    DestroyIcon(handle);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

void Win32ShellOpener::open(const QString &fileOrAddress)
{
    const QString target = QFileInfo(fileOrAddress).isAbsolute() ? QDir::toNativeSeparators(fileOrAddress)
                                                                 : fileOrAddress;
    ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t *>(target.utf16()), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

namespace {

// The test seam of ending the session: with SKYLANE_SESSION_END_LOG naming
// a file, each request appends the ExitWindowsEx flags it would pass there
// and nothing ends. The end-to-end test under wine uses it.
QString sessionEndLog()
{
    return qEnvironmentVariable("SKYLANE_SESSION_END_LOG");
}

bool recordPrivilege()
{
    return true;
}

bool recordExit(unsigned int flags)
{
    QFile log(sessionEndLog());
    return log.open(QIODevice::Append) && log.write(QByteArray::number(flags) + "\r\n") > 0;
}

} // namespace

void Win32SessionEnder::endSession(SessionRequest request)
{
    if (sessionEndLog().isEmpty())
        win32::endSession(request);
    else
        win32::endSession(request, {recordPrivilege, recordExit});
}

QColor Win32SystemColors::systemColor(int index) const
{
    return plainToQColor(win32::systemColor(index));
}

} // namespace skylane
