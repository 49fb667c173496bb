#include "bar/StatusLight.h"

#include "bar/BarWindow.h"
#include "platform/WindowSystem.h"

#include <QTimer>

namespace skylane {

namespace {
constexpr int kLastBlink = 10;
} // namespace

StatusLight::StatusLight(BarWindow &bar, WindowSystem &windows) : m_bar(bar), m_windows(windows)
{
    for (PictureBox *lamp : bar.lamps())
        connect(lamp, &PictureBox::clicked, this, &StatusLight::Image3_Click);
    connect(bar.Timer1(), &QTimer::timeout, this, &StatusLight::Timer1_Timer);
}

void StatusLight::backOnTop()
{
    m_windows.setTopmost(&m_bar, true);
    m_bar.Image3(BarWindow::LampGreen)->show();
    m_bar.Image3(BarWindow::LampRed)->hide();
    m_bar.Timer1()->stop();
    m_blinkCount = 0;
}

void StatusLight::Image3_Click(int index)
{
    if (m_bar.Timer1()->isActive()) {
        // A click during a countdown ends it; the unlit lamp, if it shows,
        // stays beneath the green one.
        backOnTop();
        return;
    }
    if (index == BarWindow::LampGreen) {
        emit restoreWindowRequested();
        m_bar.Image3(BarWindow::LampGreen)->hide();
        m_bar.Image3(BarWindow::LampRed)->hide();
        m_bar.Image3(BarWindow::LampUnlit)->show();
        m_windows.setTopmost(&m_bar, false);
    } else if (index == BarWindow::LampUnlit) {
        m_bar.Image3(BarWindow::LampUnlit)->hide();
        m_bar.Image3(BarWindow::LampRed)->show();
        m_bar.Timer1()->start();
    }
}

void StatusLight::Timer1_Timer()
{
    if (!m_bar.Image3(BarWindow::LampGreen)->isHidden() || m_blinkCount >= kLastBlink) {
        backOnTop();
        return;
    }
    ++m_blinkCount;
    const bool redShowing = !m_bar.Image3(BarWindow::LampRed)->isHidden();
    m_bar.Image3(BarWindow::LampRed)->setVisible(!redShowing);
    m_bar.Image3(BarWindow::LampUnlit)->setVisible(redShowing);
}

} // namespace skylane
