#include "bar/DialogChoices.h"

#include "platform/Dialogs.h"

#include <QWidget>

namespace skylane {

DialogChoices::DialogChoices(Dialogs &dialogs, QWidget *owner)
    : QObject(owner), m_dialogs(dialogs), m_owner(owner)
{
    setObjectName(QStringLiteral("dialogChoices"));
}

void DialogChoices::chooseFile()
{
    if (const auto chosen = m_dialogs.openFile(m_owner, m_initDir, m_fileName))
        m_fileName = *chosen;
}

void DialogChoices::chooseColor()
{
    if (const auto chosen = m_dialogs.chooseColor(m_owner, plainToQColor(m_color)))
        m_color = plainColor(*chosen);
}

void DialogChoices::chooseFont()
{
    const QFont initial = m_fontName.isEmpty() ? m_owner->font() : QFont(m_fontName);
    if (const auto chosen = m_dialogs.chooseFont(m_owner, initial))
        m_fontName = chosen->family();
}

} // namespace skylane
