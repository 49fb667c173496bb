#pragma once

#include "core/ColorValue.h"
#include "platform/Services.h"

namespace skylane {

// The platform services over the Win32 API. A program path is the bytes of
// its line in the ANSI code page; each call converts it to UTF-16 for the
// wide API and gives up on a path the code page cannot hold.

class Win32ProgramLauncher final : public ProgramLauncher {
public:
    void startMinimized(const QByteArray &programPath, const QByteArrayList &arguments) override;
    QByteArray programForFile(const QByteArray &file) override;
};

class Win32ProgramIcons final : public ProgramIcons {
public:
    QIcon smallIcon(const QByteArray &programPath, bool &found) override;
};

class Win32ShellOpener final : public ShellOpener {
public:
    void open(const QString &fileOrAddress) override;
};

class Win32SessionEnder final : public SessionEnder {
public:
    void endSession(SessionRequest request) override;
};

class Win32SystemColors final : public SystemColors {
public:
    QColor systemColor(int index) const override;
};

} // namespace skylane
