#include "buttons/ButtonRow.h"

#include "bar/BarWindow.h"
#include "buttons/ProgramIcon.h"

namespace skylane {

ButtonRow::ButtonRow(BarWindow &bar, const BarModel &model, const AppPaths &paths, ProgramIcons &icons)
    : QObject(&bar), m_bar(bar), m_model(model), m_paths(paths), m_icons(icons)
{
    // Button 1 is there from the start, blank.
    m_buttons.append(create(1));
    place();
    connect(&model, &BarModel::rowShown, this, &ButtonRow::rebuild);
    connect(&model, &BarModel::entryAppended, this, &ButtonRow::append);
    connect(&model, &BarModel::lastEntryRemoved, this, &ButtonRow::removeLast);
    connect(&model, &BarModel::entryAssigned, this, &ButtonRow::show);
    connect(&model, &BarModel::entryMoved, this, &ButtonRow::move);
}

ProgramButton *ButtonRow::button(int index) const
{
    return index >= 1 && index <= m_buttons.size() ? m_buttons.at(index - 1).data() : nullptr;
}

ProgramButton *ButtonRow::create(int index)
{
    auto *button = new ProgramButton(index, &m_bar);
    button->setObjectName(QStringLiteral("programButton%1").arg(index));
    setTwipsGeometry(button, {kFirstLeft + (index - 1) * kSlotWidth, kTop, kButtonWidth, kButtonHeight});
    button->setProgramPath({});
    emit buttonCreated(button);
    return button;
}

void ButtonRow::rebuild()
{
    const int count = m_model.count();
    while (m_buttons.size() > count)
        removeLast(int(m_buttons.size()));
    for (int index = 1; index <= count; ++index) {
        if (index > m_buttons.size())
            m_buttons.append(create(index));
        show(index);
        m_buttons.at(index - 1)->show();
    }
    // Button 1 shows the blank picture only for a row without lines; the
    // picture is read anew each time, so one that cannot be read leaves the
    // button blank rather than showing the previous row's icon.
    if (m_model.isWithoutLines())
        showBlankPicture(1);
    place();
}

void ButtonRow::append(int index)
{
    m_buttons.append(create(index));
    show(index);
    m_buttons.constLast()->show();
    place();
}

void ButtonRow::removeLast(int formerCount)
{
    if (formerCount < 2 || formerCount > m_buttons.size())
        return;
    if (ProgramButton *button = m_buttons.takeAt(formerCount - 1)) {
        // Deferred only when the button is the one whose event is being
        // handled; otherwise nothing is left waiting for the event loop.
        if (button->isHandlingEvent()) {
            button->hide();
            button->deleteLater();
        } else {
            delete button;
        }
    }
    place();
}

void ButtonRow::move(int from, int to)
{
    // The buttons travel with their entries, icons and all.
    m_buttons.move(from - 1, to - 1);
    place();
}

void ButtonRow::show(int index)
{
    if (ProgramButton *b = button(index))
        showProgram(*b, m_icons, m_model.entry(index));
}

void ButtonRow::showBlankPicture(int index)
{
    const QIcon blank = blankButtonPicture(m_paths);
    if (ProgramButton *b = button(index); b && !blank.isNull())
        b->setIcon(blank);
}

void ButtonRow::place()
{
    for (int i = 0; i < m_buttons.size(); ++i) {
        if (ProgramButton *b = m_buttons.at(i)) {
            b->setIndex(i + 1);
            setTwipsGeometry(b, {kFirstLeft + i * kSlotWidth, kTop, kButtonWidth, kButtonHeight});
        }
    }
    // One resize for the whole row; X keeps sizes in 16 bits, the bar cuts it.
    m_bar.resizeTwips(kBarWidth + (m_model.count() - 1) * kSlotWidth, kBarHeight);
    m_bar.caption()->setToolTip(QString::number(m_model.count()));
}

} // namespace skylane
