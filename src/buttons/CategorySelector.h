#pragma once

#include <QObject>

namespace skylane {

class AppPaths;
class BarModel;
class BarWindow;
class ConfigWriter;
struct BarMenus;

// Changes the category the bar shows: by a "Type" menu command, or by a
// left click on the caption, which steps through the category table on a
// position of its own. A right click on the caption chooses its colour.
class CategorySelector : public QObject {
    Q_OBJECT
public:
    CategorySelector(BarWindow &bar, BarModel &model, const AppPaths &paths, ConfigWriter &writer);

    void onCaptionReleased(Qt::MouseButton button);

private:
    void wireTypeMenu(const BarMenus &menus);

    BarWindow &m_bar;
    BarModel &m_model;
    const AppPaths &m_paths;
    ConfigWriter &m_writer;
};

} // namespace skylane
