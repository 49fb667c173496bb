#pragma once

#include <QObject>

namespace skylane {

class AppPaths;
class ConfigWriter;
class BarWindow;
struct BarMenus;

// The "Background" and "Font" commands of the popup menu: the bar's
// background colour, the caption's text colour and its face name. The
// dialog commands take what the dialogs report, confirmed or not,
// and save the settings; the four fixed backgrounds are system colours
// that follow the desktop's scheme and are not saved by themselves.
class Appearance : public QObject {
    Q_OBJECT
public:
    Appearance(BarWindow &bar, const AppPaths &paths, ConfigWriter &writer);

    void chooseBackgroundColor();
    void matchActiveBar();
    void matchInactiveBar();
    void matchBorders();
    void matchDesktop();
    void chooseCaptionFont();
    void chooseCaptionColor();

private:
    void wireMenus(const BarMenus &menus);

    BarWindow &m_bar;
    const AppPaths &m_paths;
    ConfigWriter &m_writer;
};

// The caption's text colour from the colour dialog, saved: the "Font"
// menu's "Color" and a right click on the caption. Cancel keeps the colour
// confirmed last, which is then given and saved like a chosen one.
void chooseCaptionColor(BarWindow &bar, const AppPaths &paths, ConfigWriter &writer);

} // namespace skylane
