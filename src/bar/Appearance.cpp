#include "bar/Appearance.h"

#include "bar/BarWindow.h"
#include "bar/CommonDialog.h"
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
    connect(m.mnuBGColor, &QAction::triggered, this, &Appearance::mnuBGColor_Click);
    connect(m.mnuColrMatch, &QAction::triggered, this, &Appearance::mnuColrMatch_Click);
    connect(m.mnuColrMatchInact, &QAction::triggered, this, &Appearance::mnuColrMatchInact_Click);
    connect(m.mnuColrApplic, &QAction::triggered, this, &Appearance::mnuColrApplic_Click);
    connect(m.mnuColrDesktop, &QAction::triggered, this, &Appearance::mnuColrDesktop_Click);
    connect(m.mnuFontName, &QAction::triggered, this, &Appearance::mnuFontName_Click);
    connect(m.mnuFontColor, &QAction::triggered, this, &Appearance::mnuFontColor_Click);
}

void Appearance::mnuBGColor_Click()
{
    CommonDialog *dialog = m_bar.CommonDialog1();
    dialog->ShowColor();
    m_bar.setBackColor(dialog->Color());
    SaveSettings(m_bar, m_paths, m_writer);
}

void Appearance::mnuColrMatch_Click()
{
    m_bar.setBackColor(systemColor(syscolor::ActiveCaption));
}

void Appearance::mnuColrMatchInact_Click()
{
    m_bar.setBackColor(systemColor(syscolor::InactiveCaption));
}

void Appearance::mnuColrApplic_Click()
{
    // The face of buttons, not a border colour.
    m_bar.setBackColor(systemColor(syscolor::ButtonFace));
}

void Appearance::mnuColrDesktop_Click()
{
    m_bar.setBackColor(systemColor(syscolor::Desktop));
}

void Appearance::mnuFontName_Click()
{
    CommonDialog *dialog = m_bar.CommonDialog1();
    dialog->ShowFont();
    // Only the face changes; size and weight stay. Before any face has been
    // confirmed the dialog reports none, and the caption keeps its own.
    if (!dialog->FontName().isEmpty()) {
        QFont font = m_bar.Label1()->font();
        font.setFamily(dialog->FontName());
        m_bar.Label1()->setFont(font);
    }
    SaveSettings(m_bar, m_paths, m_writer);
}

void Appearance::mnuFontColor_Click()
{
    chooseCaptionColor(m_bar, m_paths, m_writer);
}

void chooseCaptionColor(BarWindow &bar, const AppPaths &paths, ConfigWriter &writer)
{
    CommonDialog *dialog = bar.CommonDialog1();
    dialog->ShowColor();
    bar.Label1()->setForeColor(dialog->Color());
    SaveSettings(bar, paths, writer);
}

} // namespace skylane
