#pragma once

#include <QObject>

namespace skylane {

class BarModel;
class BarWindow;
class WindowSystem;

// The status light and its blink timer. A click on the green light drops
// the bar into the normal stacking layer and asks for the restore window;
// a click on the unlit light starts a countdown of eleven ticks, blinking
// red, after which the bar is on top again; a click while it runs ends it
// at once.
class StatusLight : public QObject {
    Q_OBJECT
public:
    StatusLight(BarWindow &bar, BarModel &model, WindowSystem &windows);

    int blinkCount() const { return m_blinkCount; }

    void onLightClicked(int lamp);
    void onBlinkTick();

signals:
    // The green light was clicked: the restore window should show.
    void restoreWindowRequested();

private:
    void backOnTop();

    BarWindow &m_bar;
    BarModel &m_model;
    WindowSystem &m_windows;
    qint16 m_blinkCount = 0;
};

} // namespace skylane
