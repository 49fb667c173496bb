#pragma once

#include <QByteArray>
#include <QIcon>

namespace skylane {

class ProgramButton;
class AppPaths;
class ProgramIcons;

// Shows a program on a button: its icon, its path as the tooltip, and the
// desktop's name for it as the button's accessible name.
void showProgram(ProgramButton &button, ProgramIcons &icons, const QByteArray &programPath);

// The blank-button picture, read from its file each time; null when it is
// not a regular file that holds a picture.
QIcon blankButtonPicture(const AppPaths &paths);

} // namespace skylane
