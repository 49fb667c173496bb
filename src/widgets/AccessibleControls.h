#pragma once

namespace skylane {

// Installs the interfaces through which screen readers read the program's
// own controls: a picture box reads as a push button when its clicks or
// releases are wired to an action, else as an image; a window made of plain
// widgets reads as a window named as its title bar (the application's name
// when it has no title), and asked for a point it answers with the control
// drawn there, the topmost one where controls overlap. Install once, after
// the application object exists and before any window is read.
void installAccessibleControls();

} // namespace skylane
