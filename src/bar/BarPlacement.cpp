#include "bar/BarPlacement.h"

#include "bar/BarWindow.h"
#include "bar/Settings.h"
#include "core/Twips.h"
#include "platform/WindowSystem.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace skylane {

namespace {

// The nearest top-left corner at which `size` fits inside `area`; a bar
// larger than the area keeps to its top-left corner.
QPoint clampInto(const QRect &bar, const QRect &area)
{
    const int x = std::max(area.left(), std::min(bar.left(), area.right() + 1 - bar.width()));
    const int y = std::max(area.top(), std::min(bar.top(), area.bottom() + 1 - bar.height()));
    return {x, y};
}

} // namespace

QPoint placeOnScreens(const QRect &bar, const QList<QRect> &screens, const QList<QRect> &available)
{
    QRegion hidden(bar);
    for (const QRect &screen : screens)
        hidden -= screen;
    if (hidden.isEmpty())
        return bar.topLeft();
    QPoint best = bar.topLeft();
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const QRect &area : available) {
        if (area.isEmpty())
            continue;
        const QPoint p = clampInto(bar, area);
        const qint64 dx = qint64(p.x()) - bar.left();
        const qint64 dy = qint64(p.y()) - bar.top();
        const qint64 distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = p;
        }
    }
    return best;
}

BarPlacement::BarPlacement(BarWindow &bar, WindowSystem &windows, const AppPaths &paths, ConfigWriter &writer)
    : m_bar(bar), m_windows(windows), m_paths(paths), m_writer(writer)
{
    connect(bar.dragHandle(), &PictureBox::mousePressed, this,
            [this](int, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos) {
                onDragHandlePressed(button, modifiers, pos);
            });
    bar.installEventFilter(this);
    bar.dragHandle()->installEventFilter(this);

    for (QScreen *screen : QGuiApplication::screens())
        watchScreen(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &BarPlacement::watchScreen);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &BarPlacement::keepOnScreenLater);
}

void BarPlacement::watchScreen(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, &BarPlacement::keepOnScreenLater);
}

void BarPlacement::keepOnScreenLater()
{
    // The list of screens is up to date only once the change is handled.
    QTimer::singleShot(0, this, &BarPlacement::keepOnScreen);
}

void BarPlacement::save()
{
    (void)saveSettings(m_bar, m_paths, m_writer);
}

void BarPlacement::onDragHandlePressed(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos)
{
    // Any button, any modifier keys: the press starts a move.
    m_grabOffset.reset();
    // The window manager's move ends on a release of the left button only,
    // so the others move the bar by following the pointer.
    const QPointer<BarPlacement> self(this);
    const auto ended = [self] {
        if (!self)
            return;
        self->m_systemMove = false;
        self->save();
    };
    m_systemMove = button == Qt::LeftButton && m_windows.startSystemMove(&m_bar, ended);
    if (!m_systemMove) {
        // No move from the window manager: the bar follows the pointer
        // until this button is released.
        m_grabButton = button;
        m_grabOffset = m_bar.dragHandle()->mapTo(&m_bar, pos);
    }
}

void BarPlacement::keepOnScreen()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return;
    QList<QRect> full;
    QList<QRect> available;
    for (const QScreen *screen : screens) {
        full.append(screen->geometry());
        available.append(screen->availableGeometry());
    }
    const QRect bar(twipsToPixels(m_bar.leftTwips()), twipsToPixels(m_bar.topTwips()),
                    std::min(m_bar.width(), twipsToPixels(kControlsWidthTwips)), m_bar.height());
    const QPoint place = placeOnScreens(bar, full, available);
    if (place == bar.topLeft())
        return;
    // The program moves the bar, not the user: nothing is saved.
    m_bar.moveTwips(pixelsToTwips(place.x()), pixelsToTwips(place.y()));
}

bool BarPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_bar) {
        // Built, resized, or moved by the window manager rather than by a
        // drag: the controls must still be reachable.
        if (event->type() == QEvent::Show)
            keepOnScreen();
        else if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && !m_systemMove
                 && !m_grabOffset)
            keepOnScreenLater();
        return false;
    }
    if (watched == m_bar.dragHandle() && m_grabOffset) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint global = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
            const QPoint topLeft = global - *m_grabOffset;
            m_bar.moveTwips(pixelsToTwips(topLeft.x()), pixelsToTwips(topLeft.y()));
        } else if (event->type() == QEvent::MouseButtonRelease
                   && static_cast<QMouseEvent *>(event)->button() == m_grabButton) {
            // The end of the move, moved or not: saved once, at the final place.
            m_grabOffset.reset();
            save();
        }
    }
    return false;
}

} // namespace skylane
