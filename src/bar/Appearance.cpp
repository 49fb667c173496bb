#include "bar/Appearance.h"

#include "bar/BarWindow.h"
#include "bar/DialogChoices.h"
#include "bar/Settings.h"

#include <QAction>

namespace skylane {

Appearance::Appearance(BarWindow &bar, const AppPaths &paths, ConfigWriter &writer)
    : m_bar(bar), m_paths(paths), m_writer(writer)
{
    connect(&bar, &BarWindow::menusCreated, this, &Appearance::wireMenus);
}

void Appearance::wireMenus(const BarMenus &m)
{
    connect(m.chooseBackgroundColor, &QAction::triggered, this, &Appearance::chooseBackgroundColor);
    connect(m.matchActiveBar, &QAction::triggered, this, &Appearance::matchActiveBar);
    connect(m.matchInactiveBar, &QAction::triggered, this, &Appearance::matchInactiveBar);
    connect(m.matchBorders, &QAction::triggered, this, &Appearance::matchBorders);
    connect(m.matchDesktop, &QAction::triggered, this, &Appearance::matchDesktop);
    connect(m.chooseCaptionFont, &QAction::triggered, this, &Appearance::chooseCaptionFont);
    connect(m.chooseCaptionColor, &QAction::triggered, this, &Appearance::chooseCaptionColor);
}

void Appearance::chooseBackgroundColor()
{
    DialogChoices *dialog = m_bar.dialogChoices();
    dialog->chooseColor();
    m_bar.setBackColor(dialog->color());
    (void)saveSettings(m_bar, m_paths, m_writer);
}

void Appearance::matchActiveBar()
{
    m_bar.setBackColor(systemColor(syscolor::ActiveCaption));
}

void Appearance::matchInactiveBar()
{
    m_bar.setBackColor(systemColor(syscolor::InactiveCaption));
}

void Appearance::matchBorders()
{
    // The face of buttons, not a border colour.
    m_bar.setBackColor(systemColor(syscolor::ButtonFace));
}

void Appearance::matchDesktop()
{
    m_bar.setBackColor(systemColor(syscolor::Desktop));
}

void Appearance::chooseCaptionFont()
{
    DialogChoices *dialog = m_bar.dialogChoices();
    dialog->chooseFont();
    // Only the face changes; size and weight stay. Before any face has been
    // confirmed the dialog reports none, and the caption keeps its own.
    if (!dialog->fontName().isEmpty()) {
        QFont font = m_bar.caption()->font();
        font.setFamily(dialog->fontName());
        m_bar.caption()->setFont(font);
    }
    (void)saveSettings(m_bar, m_paths, m_writer);
}

void Appearance::chooseCaptionColor()
{
    skylane::chooseCaptionColor(m_bar, m_paths, m_writer);
}

void chooseCaptionColor(BarWindow &bar, const AppPaths &paths, ConfigWriter &writer)
{
    DialogChoices *dialog = bar.dialogChoices();
    dialog->chooseColor();
    bar.caption()->setForeColor(dialog->color());
    (void)saveSettings(bar, paths, writer);
}

} // namespace skylane
