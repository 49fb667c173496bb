#pragma once

#include <QByteArray>
#include <QIcon>

namespace skylane {

class ProgramButton;
class AppPaths;
class ProgramIcons;

// Icon size selector of GetProgramIcon: the small icon, 16 logical pixels.
inline constexpr int kSmallIcon = 1;

// The picture of a program's icon, asked of the platform's icon service for
// the path as the bytes of its line. `found` is true when the path names an
// existing program file. The picture is null when none can be drawn; it
// holds its own reference to the icon, so the icon lives exactly as long as
// the pictures made from it.
QIcon GetProgramIcon(ProgramIcons &icons, const QByteArray &programPath, int sizeSelector, bool &found);

// Shows a program on a button: its icon, its path as the tooltip, and the
// desktop's name for it as the button's accessible name.
void showProgram(ProgramButton &button, ProgramIcons &icons, const QByteArray &programPath);

// Wraps an icon into a picture a button can show: the icon itself, or no
// picture when it has nothing to draw.
QIcon IconToPicture(const QIcon &icon);

// The blank-button picture, read from its file each time; null when it is
// not a regular file that holds a picture.
QIcon blankButtonPicture(const AppPaths &paths);

} // namespace skylane
