#pragma once

#include <QByteArray>
#include <QIcon>

namespace skylane {

class ProgramButton;
class AppPaths;
class ProgramIcons;

// The small icon of a program, asked of the platform's icon service for the
// path as the bytes of its line. `found` is true when the path names an
// existing program file. The icon is null when none can be drawn.
QIcon GetProgramIcon(ProgramIcons &icons, const QByteArray &programPath, bool &found);

// Shows a program on a button: its icon, its path as the tooltip, and the
// desktop's name for it as the button's accessible name.
void showProgram(ProgramButton &button, ProgramIcons &icons, const QByteArray &programPath);

// The blank-button picture, read from its file each time; null when it is
// not a regular file that holds a picture.
QIcon blankButtonPicture(const AppPaths &paths);

} // namespace skylane
