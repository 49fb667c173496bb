#include "buttons/ButtonAdder.h"

#include "bar/BarWindow.h"
#include "buttons/ButtonRow.h"
#include "buttons/CategoryFile.h"

namespace skylane {

ButtonAdder::ButtonAdder(BarWindow &bar, const AppPaths &paths, ConfigWriter &writer)
    : m_bar(bar), m_paths(paths), m_writer(writer)
{
    for (PictureBox *image : bar.adderImages())
        connect(image, &PictureBox::mouseReleased, this,
                [this](int index, Qt::MouseButton mouse) { Image1_MouseUp(index, mouse); });
}

void ButtonAdder::showOnly(int image)
{
    for (PictureBox *each : m_bar.adderImages())
        each->setVisible(each->index() == image);
}

void ButtonAdder::Image1_MouseUp(int index, Qt::MouseButton button)
{
    if (m_bar.showsExitCategory())
        return;

    const bool left = button == Qt::LeftButton;
    if (index == BarWindow::AdderAdd && left && m_bar.Image1(BarWindow::AdderAdd)->isVisible()) {
        addButton();
        showOnly(BarWindow::AdderResting);
        return;
    }
    if (index == BarWindow::AdderRemove && left && m_bar.Image1(BarWindow::AdderRemove)->isVisible())
        removeLastButton();

    if (index == BarWindow::AdderResting && left && !m_bar.Image1(BarWindow::AdderAdd)->isVisible()) {
        showOnly(BarWindow::AdderAdd);
        return;
    }
    if (index == BarWindow::AdderResting && button == Qt::RightButton
        && !m_bar.Image1(BarWindow::AdderRemove)->isVisible()) {
        showOnly(BarWindow::AdderRemove);
        return;
    }
    showOnly(BarWindow::AdderResting);
}

int ButtonAdder::addButton()
{
    const int n = buttonCount(m_bar) + 1;
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
    m_bar.Image1(BarWindow::AdderRemove)->hide();
    rewriteCategoryFile(m_bar, m_paths, m_writer);
}

} // namespace skylane
