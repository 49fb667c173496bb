#include "buttons/BarBuilder.h"

#include "bar/BarWindow.h"
#include "buttons/ButtonRow.h"
#include "buttons/CategoryFile.h"
#include "buttons/ProgramIcon.h"
#include "core/AppPaths.h"

namespace skylane {

BarBuilder::BarBuilder(BarWindow &bar, const AppPaths &paths, const ConfigWriter &writer, ProgramIcons &icons)
    : m_bar(bar), m_paths(paths), m_writer(writer), m_icons(icons)
{
}

void BarBuilder::BuildBar()
{
    for (int index = m_bar.command2Count() - 1; index >= 2; --index)
        m_bar.unloadCommand2(index);
    m_bar.resizeTwips(kBarWidth, kBarHeight);

    ProgramButton *first = m_bar.Command2(1);
    first->setProgramPath(QByteArray());

    int count = 0;
    int width = kBarWidth;
    if (const auto lines = readCategoryFile(m_bar, m_paths, m_writer)) {
        for (const QByteArray &line : *lines) {
            m_currentEntry = line;
            const int k = count + 1;
            if (k == 1) {
                SetButtonIcon(1);
                count = k;
                continue;
            }
            ProgramButton *button = m_bar.loadCommand2(k);
            if (!button)
                break;
            count = k;
            SetButtonIcon(k);
            width += placeBeside(button, m_bar.Command2(k - 1));
            button->show();
        }
    }
    m_currentEntry.clear();
    // Button 1 shows the blank picture only for a row without lines; the
    // first line's program replaces it otherwise, so it is read only then.
    // Read anew each time: one that cannot be read leaves button 1 blank
    // rather than showing the previous row's icon.
    if (count == 0)
        first->setIcon(blankButtonPicture(m_paths));
    // One resize for the whole row instead of one per button.
    m_bar.resizeTwips(width, kBarHeight);
    setButtonCount(m_bar, count == 0 ? 1 : count);
}

void BarBuilder::SetButtonIcon(int index)
{
    ProgramButton *button = m_bar.Command2(index);
    if (!button)
        return;
    showProgram(*button, m_icons, m_currentEntry);
}

} // namespace skylane
