#pragma once

#include <QByteArray>

namespace skylane {

class AppPaths;
class ConfigWriter;
class BarWindow;
class ProgramIcons;

// Builds the row of program buttons from the category file named by the
// caption: one button per line (an empty line makes a blank button), each
// with its program's icon and its path, placed left to right from button 1,
// with the bar sized to fit and the button count kept in the caption's
// tooltip.
//
// The count always equals the number of buttons in the row. When a button
// cannot be created part-way through the file (the row has reached the
// highest index of the button array) the build stops there: the row keeps
// the buttons made so far and the count is their number.
class BarBuilder {
public:
    BarBuilder(BarWindow &bar, const AppPaths &paths, const ConfigWriter &writer, ProgramIcons &icons);

    void BuildBar();
    // Gives button `index` the icon and the path of the current entry. A
    // path whose program is missing keeps its place as the tooltip, so the
    // next rewrite of the category file keeps its line.
    void SetButtonIcon(int index);

    // Bar size before the first button is counted, in twips.
    static constexpr int kBarWidth = 1450;
    static constexpr int kBarHeight = 375;

private:
    BarWindow &m_bar;
    const AppPaths &m_paths;
    const ConfigWriter &m_writer;
    ProgramIcons &m_icons;
    // The line read last; SetButtonIcon takes its path from here.
    QByteArray m_currentEntry;
};

} // namespace skylane
