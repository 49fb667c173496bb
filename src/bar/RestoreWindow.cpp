#include "bar/RestoreWindow.h"

#include "ProductInfo.h"
#include "bar/BarWindow.h"
#include "core/Twips.h"

#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QWindowStateChangeEvent>

namespace skylane {

RestoreWindow::RestoreWindow(BarWindow &bar)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_bar(bar)
{
    setObjectName(QStringLiteral("taskbutton"));
    setWindowTitle(QString::fromLatin1(product::kRestoreCaption));
    const QRect client = twipsToPixels(TwipsRect{0, 0, 1620, 570});
    setFixedSize(client.size());

    m_label1 = new QLabel(QStringLiteral("Show LaunchBar"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    setTwipsGeometry(m_label1, {120, 180, 1335, 195});

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(100);
    connect(m_timer1, &QTimer::timeout, this, &RestoreWindow::Timer1_Timer);
}

RestoreWindow::~RestoreWindow() = default;

void RestoreWindow::showEntry()
{
    if (isVisible())
        return;
    // Loaded afresh: the timer is off, and a count left over from a window
    // the user closed while it stood at 1 must not restore the bar the
    // moment the window shows again.
    m_timer1->stop();
    m_resizeCount = 0;
    showMinimized();
}

void RestoreWindow::Form_Resize()
{
    ++m_resizeCount;
    if (m_resizeCount == 2) {
        m_resizeCount = 0;
        m_timer1->start();
    }
}

void RestoreWindow::Timer1_Timer()
{
    m_bar.show();
    m_bar.raise();
    m_bar.Image3(BarWindow::LampGreen)->show();
    m_bar.Timer1()->start();
    m_timer1->stop();
    close();
}

bool RestoreWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        // The window system also sends a show when a minimized window is
        // restored; that one is counted as the change of state below.
        if (!event->spontaneous())
            Form_Resize();
        break;
    case QEvent::WindowStateChange: {
        const auto *change = static_cast<QWindowStateChangeEvent *>(event);
        const bool wasMinimized = change->oldState().testFlag(Qt::WindowMinimized);
        const bool isMinimized = windowState().testFlag(Qt::WindowMinimized);
        // Minimizing a hidden window before it shows is part of showing it.
        if (isVisible() && wasMinimized != isMinimized)
            Form_Resize();
        break;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

} // namespace skylane
