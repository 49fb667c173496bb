#include "bar/RestoreWindow.h"

#include "ProductInfo.h"
#include "bar/BarWindow.h"
#include "buttons/BarModel.h"
#include "core/Twips.h"

#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QWindowStateChangeEvent>

namespace skylane {

RestoreWindow::RestoreWindow(BarWindow &bar, BarModel &model)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_bar(bar), m_model(model)
{
    setObjectName(QStringLiteral("taskbutton"));
    setWindowTitle(QString::fromLatin1(product::kRestoreCaption));
    const QRect client = twipsToPixels(TwipsRect{0, 0, 1620, 570});
    setFixedSize(client.size());

    m_showLabel = new QLabel(tr("Show LaunchBar"), this);
    m_showLabel->setObjectName(QStringLiteral("showLabel"));
    setTwipsGeometry(m_showLabel, {120, 180, 1335, 195});

    m_restoreTimer = new QTimer(this);
    m_restoreTimer->setObjectName(QStringLiteral("restoreTimer"));
    m_restoreTimer->setInterval(100);
    connect(m_restoreTimer, &QTimer::timeout, this, &RestoreWindow::restoreBar);
}

RestoreWindow::~RestoreWindow() = default;

void RestoreWindow::showEntry()
{
    if (isVisible())
        return;
    // Loaded afresh: the timer is off, and a count left over from a window
    // the user closed while it stood at 1 must not restore the bar the
    // moment the window shows again.
    m_restoreTimer->stop();
    m_resizeCount = 0;
    showMinimized();
}

void RestoreWindow::onResized()
{
    ++m_resizeCount;
    if (m_resizeCount == 2) {
        m_resizeCount = 0;
        m_restoreTimer->start();
    }
}

void RestoreWindow::restoreBar()
{
    m_bar.show();
    m_bar.raise();
    m_model.setLamp(BarModel::Lamp::Green);
    m_bar.blinkTimer()->start();
    m_restoreTimer->stop();
    close();
}

bool RestoreWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        // The window system also sends a show when a minimized window is
        // restored; that one is counted as the change of state below.
        if (!event->spontaneous())
            onResized();
        break;
    case QEvent::WindowStateChange: {
        const auto *change = static_cast<QWindowStateChangeEvent *>(event);
        const bool wasMinimized = change->oldState().testFlag(Qt::WindowMinimized);
        const bool isMinimized = windowState().testFlag(Qt::WindowMinimized);
        // Minimizing a hidden window before it shows is part of showing it.
        if (isVisible() && wasMinimized != isMinimized)
            onResized();
        break;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

} // namespace skylane
