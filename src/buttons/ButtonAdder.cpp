#include "buttons/ButtonAdder.h"

#include "bar/BarWindow.h"
#include "buttons/ButtonRow.h"
#include "buttons/CategoryFile.h"

namespace skylane {

namespace {
constexpr int kResting = 0;
constexpr int kAdd = 1;
constexpr int kRemove = 2;
} // namespace

ButtonAdder::ButtonAdder(BarWindow &bar, const AppPaths &paths) : m_bar(bar), m_paths(paths) {}

void ButtonAdder::showOnly(int image)
{
    for (int i = 0; i < 3; ++i)
        m_bar.Image1(i)->setVisible(i == image);
}

void ButtonAdder::Image1_MouseUp(int index, Qt::MouseButton button)
{
    if (m_bar.Label1()->text() == QLatin1String("Exit"))
        return;

    const bool left = button == Qt::LeftButton;
    if (index == kAdd && left && m_bar.Image1(kAdd)->isVisible()) {
        addButton();
        showOnly(kResting);
        return;
    }
    if (index == kRemove && left && m_bar.Image1(kRemove)->isVisible())
        removeLastButton();

    if (index == kResting && left && !m_bar.Image1(kAdd)->isVisible()) {
        showOnly(kAdd);
        return;
    }
    if (index == kResting && button == Qt::RightButton && !m_bar.Image1(kRemove)->isVisible()) {
        showOnly(kRemove);
        return;
    }
    showOnly(kResting);
}

int ButtonAdder::addButton()
{
    const int n = leadingNumber(m_bar.Label1()->toolTip()) + 1;
    if (n > kMaxButtons)
        return 0;
    ProgramButton *previous = m_bar.Command2(n - 1);
    if (!previous || n < 2)
        return 0;
    ProgramButton *button = m_bar.loadCommand2(n);
    if (!button)
        return 0;
    setButtonCount(m_bar, n);
    m_bar.resizeTwips(m_bar.widthTwips() + placeBeside(button, previous), m_bar.heightTwips());
    button->show();
    return n;
}

void ButtonAdder::removeLastButton()
{
    const int c = buttonCount(m_bar);
    if (c <= 1 || !m_bar.Command2(c))
        return;
    m_bar.unloadCommand2(c);
    setButtonCount(m_bar, c - 1);
    m_bar.resizeTwips(m_bar.widthTwips() - rowSlotWidth(m_bar.Command2(c - 1)), m_bar.heightTwips());
    m_bar.Image1(kRemove)->hide();
    rewriteCategoryFile(m_bar, m_paths);
}

} // namespace skylane
