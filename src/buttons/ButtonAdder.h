#pragma once

#include <QObject>

namespace skylane {

class BarModel;
class BarWindow;
class CategoryStore;

// The three images left of the row: a left release on the resting image
// arms adding, a right release arms removal; a left release on the armed
// image then appends a blank button or removes the last one (the removal is
// saved to the category file at once). Any other release disarms.
class ButtonAdder : public QObject {
    Q_OBJECT
public:
    ButtonAdder(BarWindow &bar, BarModel &model, CategoryStore &store);

    void onImageReleased(int image, Qt::MouseButton button);

private:
    BarModel &m_model;
    CategoryStore &m_store;
};

} // namespace skylane
