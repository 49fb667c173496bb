#pragma once

#include "platform/Services.h"

namespace skylane {

// A regular executable file stands for itself; a desktop entry (".desktop")
// for the program it starts (programOfDesktopEntry).
QByteArray programOfFile(const QByteArray &file);

// Starts a program detached from the bar (spawnDetached) and, under X11,
// iconifies the first window it maps (X11MinimizeWatch). Iconic is as close
// to "minimized and activated" as X11 allows: an iconified window cannot
// hold the focus.
class LinuxProgramLauncher final : public ProgramLauncher {
public:
    void startMinimized(const QByteArray &programPath, const QByteArrayList &arguments) override;
    QByteArray programForFile(const QByteArray &file) override { return programOfFile(file); }
};

} // namespace skylane
