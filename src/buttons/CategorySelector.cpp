#include "buttons/CategorySelector.h"

#include "bar/Appearance.h"
#include "bar/BarWindow.h"
#include "buttons/BarBuilder.h"

#include <QAction>
#include <QComboBox>

namespace skylane {

CategorySelector::CategorySelector(BarWindow &bar, BarBuilder &builder, const AppPaths &paths, ConfigWriter &writer)
    : m_bar(bar), m_builder(builder), m_paths(paths), m_writer(writer)
{
    ColorLabel *caption = bar.Label1();
    connect(caption, &ColorLabel::captionChanged, this, &CategorySelector::Label1_Change);
    connect(caption, &ColorLabel::mouseReleased, this,
            [this](Qt::MouseButton button) { Label1_MouseUp(button); });
    connect(&bar, &BarWindow::menusCreated, this, &CategorySelector::wireTypeMenu);
}

void CategorySelector::wireTypeMenu(const BarMenus &menus)
{
    for (const BarWindow::Category &category : BarWindow::categories()) {
        const QString name = QLatin1String(category.name);
        connect(menus.*category.menuAction, &QAction::triggered, this, [this, name] { SelectCategory(name); });
    }
}

void CategorySelector::SelectCategory(const QString &name)
{
    const QComboBox *table = m_bar.Combo1();
    for (int i = 0; i < table->count(); ++i) {
        if (table->itemText(i) == name) {
            // A different caption builds the row before this returns; the
            // second build also rebuilds the category already shown.
            m_bar.Label1()->setCaption(table->itemText(i));
            m_builder.BuildBar();
            return;
        }
    }
}

void CategorySelector::Label1_Change()
{
    m_builder.BuildBar();
}

void CategorySelector::Label1_MouseUp(Qt::MouseButton button)
{
    if (button == Qt::LeftButton) {
        const QComboBox *table = m_bar.Combo1();
        if (table->count() == 0)
            return;
        if (m_cyclePosition < table->count() - 1)
            ++m_cyclePosition;
        else
            m_cyclePosition = 0;
        m_bar.Label1()->setCaption(table->itemText(m_cyclePosition));
        m_builder.BuildBar();
    } else if (button == Qt::RightButton) {
        chooseCaptionColor(m_bar, m_paths, m_writer);
    }
}

} // namespace skylane
