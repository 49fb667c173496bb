#include "buttons/CategorySelector.h"

#include "bar/BarWindow.h"
#include "bar/CommonDialog.h"
#include "bar/Settings.h"
#include "buttons/BarBuilder.h"

#include <QComboBox>

namespace skylane {

CategorySelector::CategorySelector(BarWindow &bar, BarBuilder &builder, const AppPaths &paths)
    : m_bar(bar), m_builder(builder), m_paths(paths)
{
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
        // Cancel keeps the colour confirmed last, which is then given and
        // saved like a chosen one.
        CommonDialog *dialog = m_bar.CommonDialog1();
        dialog->ShowColor();
        m_bar.Label1()->setForeColor(dialog->Color());
        SaveSettings(m_bar, m_paths);
    }
}

QList<std::pair<QAction *, QString>> typeMenuCommands(const BarMenus &m)
{
    QList<std::pair<QAction *, QString>> commands;
    for (const int index : BarWindow::typeMenuOrder()) {
        const BarWindow::Category &category = BarWindow::categories().at(static_cast<size_t>(index));
        commands.append({m.*category.menuAction, QLatin1String(category.name)});
    }
    return commands;
}

} // namespace skylane
