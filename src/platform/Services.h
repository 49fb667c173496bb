#pragma once

#include "platform/SessionRequest.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QString>

namespace skylane {

// Starts a program by its path: its own process, no shell, not waited for,
// shown minimized where the window system allows. Each argument reaches the
// program as it stands (files opened with it, in the system's form of their
// paths). Failures are silent.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual void startMinimized(const QByteArray &programPath, const QByteArrayList &arguments) = 0;
    // The program a file dropped on the bar stands for: the file itself when
    // it is a program, the program a desktop shortcut starts; empty when it
    // stands for none a button could start.
    virtual QByteArray programForFile(const QByteArray &file) = 0;
};

// The small icon of a program. `found` tells whether the path names a
// program file at all; the icon may still be null when none can be drawn.
class ProgramIcons {
public:
    virtual ~ProgramIcons() = default;
    virtual QIcon smallIcon(const QByteArray &programPath, bool &found) = 0;
    // Finds the icons of programs about to be shown, where finding them
    // first is cheaper than finding them when asked (a cache that keeps
    // them); does nothing elsewhere.
    virtual void prefetch(const QList<QByteArray> &programPaths) { Q_UNUSED(programPaths); }
    // What a screen reader calls the program: the desktop's name for it
    // where there is one, else the file's name.
    virtual QString programName(const QByteArray &programPath)
    {
        return QFileInfo(QFile::decodeName(programPath)).fileName();
    }
};

// Opens a document or web address with the desktop's default handler.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    virtual void open(const QString &fileOrAddress) = 0;
};

// Ends the user's session without asking further questions. The result is
// not reported: the session ends, and the program with it, or nothing
// happens.
class SessionEnder {
public:
    virtual ~SessionEnder() = default;
    virtual void endSession(SessionRequest request) = 0;
};

} // namespace skylane
