#include "bar/StatusLight.h"

#include "bar/BarWindow.h"
#include "platform/WindowSystem.h"

#include <QTimer>

namespace skylane {

namespace {
constexpr int kUnlit = 0;
constexpr int kGreen = 1;
constexpr int kRed = 2;
constexpr int kLastBlink = 10;
} // namespace

StatusLight::StatusLight(BarWindow &bar, WindowSystem &windows) : m_bar(bar), m_windows(windows)
{
    for (int i = kUnlit; i <= kRed; ++i)
        connect(bar.Image3(i), &PictureBox::clicked, this, &StatusLight::Image3_Click);
    connect(bar.Timer1(), &QTimer::timeout, this, &StatusLight::Timer1_Timer);
}

void StatusLight::backOnTop()
{
    m_windows.setTopmost(&m_bar, true);
    m_bar.Image3(kGreen)->show();
    m_bar.Image3(kRed)->hide();
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
    if (index == kGreen) {
        emit restoreWindowRequested();
        m_bar.Image3(kGreen)->hide();
        m_bar.Image3(kRed)->hide();
        m_bar.Image3(kUnlit)->show();
        m_windows.setTopmost(&m_bar, false);
    } else if (index == kUnlit) {
        m_bar.Image3(kUnlit)->hide();
        m_bar.Image3(kRed)->show();
        m_bar.Timer1()->start();
    }
}

void StatusLight::Timer1_Timer()
{
    if (!m_bar.Image3(kGreen)->isHidden() || m_blinkCount >= kLastBlink) {
        m_windows.setTopmost(&m_bar, true);
        m_bar.Image3(kRed)->hide();
        m_bar.Image3(kGreen)->show();
        m_blinkCount = 0;
        m_bar.Timer1()->stop();
        return;
    }
    ++m_blinkCount;
    const bool redShowing = !m_bar.Image3(kRed)->isHidden();
    m_bar.Image3(kRed)->setVisible(!redShowing);
    m_bar.Image3(kUnlit)->setVisible(redShowing);
}

} // namespace skylane
