#pragma once

#include <QObject>

namespace skylane {

class AppPaths;
class ConfigWriter;
class BarWindow;

// The three images left of the row: a left release on the resting image
// arms adding, a right release arms removal; a left release on the armed
// image then appends a blank button or removes the last one (the removal is
// saved to the category file at once). Any other release disarms.
class ButtonAdder : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxButtons = 100;

    ButtonAdder(BarWindow &bar, const AppPaths &paths, ConfigWriter &writer);

    void Image1_MouseUp(int index, Qt::MouseButton button);

    // Appends a blank button as the add image does, not above the limit;
    // its index, or 0 when none was added.
    int addButton();

private:
    void removeLastButton();
    void showOnly(int image);

    BarWindow &m_bar;
    const AppPaths &m_paths;
    ConfigWriter &m_writer;
};

} // namespace skylane
