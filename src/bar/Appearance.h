#pragma once

#include <QObject>

namespace skylane {

class AppPaths;
class BarWindow;
struct BarMenus;

// The "Background" and "Font" commands of the popup menu: the bar's
// background colour, the caption's text colour and its face name. The
// dialog commands take what the common dialog reports, confirmed or not,
// and save the settings; the four fixed backgrounds are system colours
// that follow the desktop's scheme and are not saved by themselves.
class Appearance : public QObject {
    Q_OBJECT
public:
    Appearance(BarWindow &bar, const AppPaths &paths);

    void mnuBGColor_Click();
    void mnuColrMatch_Click();
    void mnuColrMatchInact_Click();
    void mnuColrApplic_Click();
    void mnuColrDesktop_Click();
    void mnuFontName_Click();
    void mnuFontColor_Click();

private:
    void wireMenus(const BarMenus &menus);

    BarWindow &m_bar;
    const AppPaths &m_paths;
};

} // namespace skylane
