#pragma once

namespace skylane {

// Drops every cached font engine no live font holds, with the font files
// those engines keep mapped; a font still in use loads its engine again
// when next drawn. For after a window with fonts of its own has gone.
void dropUnusedFontEngines();

} // namespace skylane
