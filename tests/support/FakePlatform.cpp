#include "support/FakePlatform.h"

#include "artwork/Artwork.h"

#include <QWidget>

#include <sys/stat.h>

namespace skylane::test {

namespace {
template <typename T>
T answer(FakeDialogs &d, const char *call, std::deque<T> &queue, T fallback)
{
    d.calls.append(QLatin1String(call));
    if (!queue.empty()) {
        fallback = std::move(queue.front());
        queue.pop_front();
    }
    return fallback;
}
} // namespace

std::optional<QString> FakeDialogs::openFile(QWidget *, const QString &, const QString &)
{
    return answer(*this, "open", openAnswers, std::optional<QString>());
}

std::optional<QColor> FakeDialogs::chooseColor(QWidget *, const QColor &)
{
    return answer(*this, "color", colorAnswers, std::optional<QColor>());
}

std::optional<QFont> FakeDialogs::chooseFont(QWidget *, const QFont &)
{
    return answer(*this, "font", fontAnswers, std::optional<QFont>());
}

MessageAnswer FakeDialogs::askYesNoCancel(QWidget *, const QString &, const QString &)
{
    return answer(*this, "message", messageAnswers, MessageAnswer::Cancel);
}

void FakeWindowSystem::prepareBarWindow(QWidget *bar)
{
    bar->setWindowFlags(Qt::Window | Qt::FramelessWindowHint); // as the window system's is
    topmost[bar] = true;
}

QIcon FakeIcons::smallIcon(const QByteArray &programPath, bool &found)
{
    ++queries;
    struct stat st {};
    found = !programPath.contains('\0') && ::stat(programPath.constData(), &st) == 0 && S_ISREG(st.st_mode);
    return found ? artworkIcon(QStringLiteral("program"), QSize(16, 16)) : QIcon();
}

FakePlatform::FakePlatform() : m_platform(std::make_unique<Platform>())
{
    m_platform->dialogs.reset(dialogs = new FakeDialogs);
    m_platform->windows.reset(windows = new FakeWindowSystem);
    m_platform->colors = std::make_unique<FakeSystemColors>();
    m_platform->launcher.reset(launcher = new FakeLauncher);
    m_platform->icons.reset(icons = new FakeIcons);
    m_platform->shell.reset(shell = new FakeShell);
    m_platform->session.reset(session = new FakeSession);
}

} // namespace skylane::test
