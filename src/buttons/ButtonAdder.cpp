#include "buttons/ButtonAdder.h"

#include "bar/BarWindow.h"
#include "buttons/BarModel.h"
#include "buttons/CategoryStore.h"

namespace skylane {

ButtonAdder::ButtonAdder(BarWindow &bar, BarModel &model, CategoryStore &store) : m_model(model), m_store(store)
{
    for (PictureBox *image : bar.adderImages())
        connect(image, &PictureBox::mouseReleased, this,
                [this](int index, Qt::MouseButton mouse) { onImageReleased(index, mouse); });
}

void ButtonAdder::onImageReleased(int image, Qt::MouseButton button)
{
    using Adder = BarModel::Adder;
    if (m_model.showsExitCategory())
        return;
    // Only the image that shows can be released on.
    if (int(m_model.adder()) != image)
        return;
    const bool left = button == Qt::LeftButton;
    if (image == int(Adder::Add) && left) {
        m_model.appendBlank();
        m_model.setAdder(Adder::Resting);
        return;
    }
    if (image == int(Adder::Remove) && left && m_model.removeLast())
        (void)m_store.save(); // a refused save is told by the writer
    if (image == int(Adder::Resting) && left) {
        m_model.setAdder(Adder::Add);
        return;
    }
    if (image == int(Adder::Resting) && button == Qt::RightButton) {
        m_model.setAdder(Adder::Remove);
        return;
    }
    m_model.setAdder(Adder::Resting);
}

} // namespace skylane
