#pragma once

#include "platform/Services.h"

#include <memory>

namespace skylane {

// A regular executable file stands for itself; a desktop entry (".desktop")
// for the program it starts (programOfDesktopEntry).
QByteArray programOfFile(const QByteArray &file);

class SystemdScopes;

// Starts a program detached from the bar (spawnDetached), moves it into a
// scope of its own where the user's service manager answers (SystemdScopes)
// and, under X11, iconifies the first window it maps (X11MinimizeWatch).
// Iconic is as close to "minimized and activated" as X11 allows: an
// iconified window cannot hold the focus.
class LinuxProgramLauncher final : public ProgramLauncher {
public:
    LinuxProgramLauncher();
    ~LinuxProgramLauncher() override;

    void startMinimized(const QByteArray &programPath, const QByteArrayList &arguments) override;
    QByteArray programForFile(const QByteArray &file) override { return programOfFile(file); }

private:
    std::unique_ptr<SystemdScopes> m_scopes; // made at the first start: the session bus is reached only then
};

} // namespace skylane
