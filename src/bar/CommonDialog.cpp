#include "bar/CommonDialog.h"

#include "platform/Dialogs.h"

#include <QWidget>

namespace skylane {

CommonDialog::CommonDialog(Dialogs &dialogs, QWidget *owner)
    : QObject(owner), m_dialogs(dialogs), m_owner(owner)
{
    setObjectName(QStringLiteral("CommonDialog1"));
}

void CommonDialog::ShowOpen()
{
    if (const auto chosen = m_dialogs.openFile(m_owner, m_initDir, m_fileName))
        m_fileName = *chosen;
}

void CommonDialog::ShowColor()
{
    if (const auto chosen = m_dialogs.chooseColor(m_owner, plainToQColor(m_color)))
        m_color = plainColor(*chosen);
}

void CommonDialog::ShowFont()
{
    const QFont initial = m_fontName.isEmpty() ? m_owner->font() : QFont(m_fontName);
    if (const auto chosen = m_dialogs.chooseFont(m_owner, initial))
        m_fontName = chosen->family();
}

} // namespace skylane
