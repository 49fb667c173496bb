#include "buttons/CategorySelector.h"

#include "bar/Appearance.h"
#include "bar/BarWindow.h"
#include "buttons/BarModel.h"

#include <QAction>

namespace skylane {

CategorySelector::CategorySelector(BarWindow &bar, BarModel &model, const AppPaths &paths, ConfigWriter &writer)
    : m_bar(bar), m_model(model), m_paths(paths), m_writer(writer)
{
    connect(bar.caption(), &ColorLabel::mouseReleased, this,
            [this](Qt::MouseButton button) { onCaptionReleased(button); });
    connect(&bar, &BarWindow::menusCreated, this, &CategorySelector::wireTypeMenu);
}

void CategorySelector::wireTypeMenu(const BarMenus &menus)
{
    for (size_t i = 0; i < BarModel::categories().size(); ++i) {
        const QString name = QLatin1String(BarModel::categories().at(i).name);
        connect(menus.showCategory.at(i), &QAction::triggered, this, [this, name] { m_model.selectCategory(name); });
    }
}

void CategorySelector::onCaptionReleased(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        m_model.stepCategory();
    else if (button == Qt::RightButton)
        chooseCaptionColor(m_bar, m_paths, m_writer);
}

} // namespace skylane
