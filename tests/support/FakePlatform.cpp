#include "support/FakePlatform.h"

#include "artwork/Artwork.h"

#include <QWidget>

#include <sys/stat.h>

namespace skylane::test {

namespace {
template <typename T>
T takeFront(std::deque<T> &queue, T fallback)
{
    if (!queue.empty()) {
        fallback = std::move(queue.front());
        queue.pop_front();
    }
    return fallback;
}
} // namespace

std::optional<QString> FakeDialogs::openFile(QWidget *, const QString &initialPath, const QString &fileName)
{
    calls.append(QStringLiteral("open"));
    lastInitialPath = initialPath;
    lastFileName = fileName;
    return takeFront(openAnswers, std::optional<QString>());
}

std::optional<QColor> FakeDialogs::chooseColor(QWidget *, const QColor &initial)
{
    calls.append(QStringLiteral("color"));
    lastInitialColor = initial;
    return takeFront(colorAnswers, std::optional<QColor>());
}

std::optional<QFont> FakeDialogs::chooseFont(QWidget *, const QFont &)
{
    calls.append(QStringLiteral("font"));
    return takeFront(fontAnswers, std::optional<QFont>());
}

MessageAnswer FakeDialogs::askYesNoCancel(QWidget *, const QString &text, const QString &title)
{
    calls.append(QStringLiteral("message"));
    lastMessageText = text;
    lastMessageTitle = title;
    return takeFront(messageAnswers, MessageAnswer::Cancel);
}

void FakeWindowSystem::prepareBarWindow(QWidget *bar)
{
    ++prepareCalls;
    bar->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                        | Qt::WindowDoesNotAcceptFocus);
    topmost[bar] = true;
}

void FakeWindowSystem::prepareStartupWindow(QWidget *window)
{
    ++startupPrepareCalls;
    const Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (window->windowFlags() != flags)
        window->setWindowFlags(flags);
}

void FakeWindowSystem::setTopmost(QWidget *window, bool onTop)
{
    topmost[window] = onTop;
    topmostCalls.append(onTop);
}

bool FakeWindowSystem::startSystemMove(QWidget *)
{
    ++systemMoves;
    return systemMoveAvailable;
}

QColor FakeSystemColors::systemColor(int index) const
{
    if (scheme.contains(index))
        return scheme.value(index);
    // Distinct, predictable colours: index n paints as (n, 2n, 3n).
    return QColor(index % 256, (2 * index) % 256, (3 * index) % 256);
}

QIcon FakeIcons::smallIcon(const QByteArray &programPath, bool &found)
{
    ++queries;
    // By the path's bytes, as the program's own lookup does.
    struct stat st {};
    found = !programPath.isEmpty() && !programPath.contains('\0') && ::stat(programPath.constData(), &st) == 0 && S_ISREG(st.st_mode);
    return found ? artworkIcon(QStringLiteral("program"), QSize(16, 16)) : QIcon();
}

FakePlatform::FakePlatform() : m_platform(std::make_unique<Platform>())
{
    auto d = std::make_unique<FakeDialogs>();
    auto w = std::make_unique<FakeWindowSystem>();
    auto c = std::make_unique<FakeSystemColors>();
    auto l = std::make_unique<FakeLauncher>();
    auto i = std::make_unique<FakeIcons>();
    auto s = std::make_unique<FakeShell>();
    auto e = std::make_unique<FakeSession>();
    dialogs = d.get();
    windows = w.get();
    colors = c.get();
    launcher = l.get();
    icons = i.get();
    shell = s.get();
    session = e.get();
    m_platform->dialogs = std::move(d);
    m_platform->windows = std::move(w);
    m_platform->colors = std::move(c);
    m_platform->launcher = std::move(l);
    m_platform->icons = std::move(i);
    m_platform->shell = std::move(s);
    m_platform->session = std::move(e);
}

} // namespace skylane::test
