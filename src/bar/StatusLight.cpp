#include "bar/StatusLight.h"

#include "bar/BarWindow.h"
#include "buttons/BarModel.h"
#include "platform/WindowSystem.h"

#include <QTimer>

namespace skylane {

namespace {
constexpr int kLastBlink = 10;
using Lamp = BarModel::Lamp;
} // namespace

StatusLight::StatusLight(BarWindow &bar, BarModel &model, WindowSystem &windows)
    : m_bar(bar), m_model(model), m_windows(windows)
{
    for (PictureBox *lamp : bar.statusLights())
        connect(lamp, &PictureBox::clicked, this, &StatusLight::onLightClicked);
    connect(bar.blinkTimer(), &QTimer::timeout, this, &StatusLight::onBlinkTick);
}

void StatusLight::backOnTop()
{
    m_windows.setTopmost(&m_bar, true);
    m_model.setLamp(Lamp::Green);
    m_bar.blinkTimer()->stop();
    m_blinkCount = 0;
}

void StatusLight::onLightClicked(int lamp)
{
    if (m_bar.blinkTimer()->isActive()) {
        // A click during a countdown ends it.
        backOnTop();
        return;
    }
    if (lamp == int(Lamp::Green)) {
        emit restoreWindowRequested();
        m_model.setLamp(Lamp::Unlit);
        m_windows.setTopmost(&m_bar, false);
    } else if (lamp == int(Lamp::Unlit)) {
        m_model.setLamp(Lamp::Red);
        m_bar.blinkTimer()->start();
    }
}

void StatusLight::onBlinkTick()
{
    if (m_model.lamp() == Lamp::Green || m_blinkCount >= kLastBlink) {
        backOnTop();
        return;
    }
    ++m_blinkCount;
    m_model.setLamp(m_model.lamp() == Lamp::Red ? Lamp::Unlit : Lamp::Red);
}

} // namespace skylane
