#include "buttons/ButtonRow.h"

#include "bar/BarWindow.h"

namespace skylane {

namespace {
// The number at the start of the count text (nine digits at most), 0 when
// it begins with none.
int leadingNumber(const QString &text)
{
    qsizetype digits = 0;
    while (digits < text.size() && digits < 9 && text.at(digits).isDigit()
           && text.at(digits).unicode() < 128)
        ++digits;
    return digits == 0 ? 0 : text.left(digits).toInt();
}
} // namespace

int rowSlotWidth(const ProgramButton *button)
{
    constexpr int kGapTwips = 20;
    return twipsGeometry(button).width + kGapTwips;
}

int placeBeside(ProgramButton *button, const ProgramButton *previous)
{
    const TwipsRect left = twipsGeometry(previous);
    TwipsRect place = twipsGeometry(button);
    place.top = left.top;
    place.left = left.left + rowSlotWidth(previous);
    setTwipsGeometry(button, place);
    return rowSlotWidth(button);
}

int buttonCount(const BarWindow &bar)
{
    return leadingNumber(bar.Label1()->toolTip());
}

void setButtonCount(BarWindow &bar, int count)
{
    bar.Label1()->setToolTip(QString::number(count));
}

} // namespace skylane
