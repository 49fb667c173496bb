#pragma once

namespace skylane {

class BarWindow;
class ProgramButton;

// The button count of the row, kept as decimal text in the caption's
// tooltip so that it shows when the pointer rests on the caption.
int buttonCount(const BarWindow &bar);
void setButtonCount(BarWindow &bar, int count);

// The room a button takes in the row: its width and the 20-twip gap.
int rowSlotWidth(const ProgramButton *button);
// Puts `button` right of `previous`, the gap between them, at its top edge;
// returns how much wider the bar grows for it.
int placeBeside(ProgramButton *button, const ProgramButton *previous);

} // namespace skylane
