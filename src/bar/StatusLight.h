#pragma once

#include <QObject>

namespace skylane {

class BarWindow;
class WindowSystem;

// The status light `Image3` and the bar's `Timer1`. A click on the green
// light drops the bar into the normal stacking layer and asks for the
// restore window; a click on the unlit light starts a countdown of eleven
// ticks, blinking red, after which the bar is on top again; a click while
// it runs ends it at once.
class StatusLight : public QObject {
    Q_OBJECT
public:
    StatusLight(BarWindow &bar, WindowSystem &windows);

    int BlinkCount() const { return m_blinkCount; }

    void Image3_Click(int index);
    void Timer1_Timer();

signals:
    // The green light was clicked: the restore window should show.
    void restoreWindowRequested();

private:
    void backOnTop();

    BarWindow &m_bar;
    WindowSystem &m_windows;
    qint16 m_blinkCount = 0;
};

} // namespace skylane
