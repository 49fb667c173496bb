#pragma once

#include "buttons/BarModel.h"

#include <QList>
#include <QObject>
#include <QPointer>

namespace skylane {

class AppPaths;
class BarWindow;
class ProgramButton;
class ProgramIcons;

// The row of program buttons as the bar shows it: one ProgramButton per
// entry of the model, made, reused and removed as the entries change, and
// placed in twips one slot after another. The buttons are the bar window's
// own children, so a screen reader meets them beside the bar's other
// controls. The bar's width and the caption's tooltip (the button count)
// follow the row.
class ButtonRow : public QObject {
    Q_OBJECT
public:
    ButtonRow(BarWindow &bar, const BarModel &model, const AppPaths &paths, ProgramIcons &icons);

    // Bar size before the first button is counted, in twips.
    static constexpr int kBarWidth = 1450;
    static constexpr int kBarHeight = 375;
    // A button's place and size in the first slot, and the room one slot takes.
    static constexpr int kFirstLeft = 1110, kTop = 10, kButtonWidth = 325, kButtonHeight = 315;
    static constexpr int kSlotWidth = kButtonWidth + 20;

    // Button `index` (1 to the count), or nullptr.
    ProgramButton *button(int index) const;
    const QList<QPointer<ProgramButton>> &buttons() const { return m_buttons; }
    // The blank-button picture on button `index`, until its entry changes
    // (a cancelled choice of program).
    void showBlankPicture(int index);

signals:
    // A button joined the row: its events can be wired.
    void buttonCreated(ProgramButton *button);

private:
    void rebuild();
    void append(int index);
    void removeLast(int formerCount);
    void move(int from, int to);
    void show(int index);
    ProgramButton *create(int index);
    void place();

    BarWindow &m_bar;
    const BarModel &m_model;
    const AppPaths &m_paths;
    ProgramIcons &m_icons;
    QList<QPointer<ProgramButton>> m_buttons;
};

} // namespace skylane
