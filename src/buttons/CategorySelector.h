#pragma once

#include <QObject>
#include <QString>

namespace skylane {

class AppPaths;
class ConfigWriter;
class BarBuilder;
class BarWindow;
struct BarMenus;

// Changes the category the bar shows: by a "Type" menu command, by a left
// click on the caption (which steps through the category table on a
// position of its own), or by any change of the caption text. Each ends in
// a rebuild of the row. A right click on the caption chooses its colour.
class CategorySelector : public QObject {
    Q_OBJECT
public:
    CategorySelector(BarWindow &bar, BarBuilder &builder, const AppPaths &paths, ConfigWriter &writer);

    // Shows the category whose name equals `name` exactly; any other name
    // changes nothing.
    void SelectCategory(const QString &name);
    void Label1_Change();
    void Label1_MouseUp(Qt::MouseButton button);

    qint16 cyclePosition() const { return m_cyclePosition; }

private:
    void wireTypeMenu(const BarMenus &menus);

    BarWindow &m_bar;
    BarBuilder &m_builder;
    const AppPaths &m_paths;
    ConfigWriter &m_writer;
    // The table position of the last left click, apart from the caption:
    // a menu choice leaves it where it was.
    qint16 m_cyclePosition = 0;
};

} // namespace skylane
