#pragma once

namespace skylane {

// The program's fonts carry Windows family names ("MS Serif", "Arial
// Narrow", "Century Gothic", ...). Where those are not installed, Qt is told
// which look-alike families to take, so the names themselves stay as they are
// (and are saved as they are).
void installFontSubstitutes();

} // namespace skylane
