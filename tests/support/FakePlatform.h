#pragma once

#include "platform/Platform.h"
#include "platform/linux/LinuxProgramLauncher.h"

#include <QByteArrayList>
#include <QHash>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <utility>

namespace skylane::test {

// Dialogs answered from queues a test fills in advance; with no answer left
// a dialog is cancelled. Nothing modal ever appears.
struct FakeDialogs final : public Dialogs {
    std::optional<QString> openFile(QWidget *, const QString &, const QString &) override { return next("open", openAnswers); }
    std::optional<QColor> chooseColor(QWidget *, const QColor &) override { return next("color", colorAnswers); }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override { return next("font", fontAnswers); }
    MessageAnswer askYesNoCancel(QWidget *, const QString &, const QString &) override
    {
        return next("message", messageAnswers).value_or(MessageAnswer::Cancel);
    }

    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QFont>> fontAnswers;
    std::deque<std::optional<MessageAnswer>> messageAnswers;
    QStringList calls; // "open", "color", "font", "message", in order

    template <typename T>
    std::optional<T> next(const char *call, std::deque<std::optional<T>> &answers)
    {
        calls << QLatin1String(call);
        const std::optional<T> answer = answers.empty() ? std::nullopt : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
};

struct FakeWindowSystem final : public WindowSystem {
    void prepareBarWindow(QWidget *bar) override;
    void prepareStartupWindow(QWidget *) override {}
    void setTopmost(QWidget *window, bool onTop) override { topmost[window] = onTop; }
    bool startSystemMove(QWidget *, std::function<void()> ended) override
    {
        if (systemMoveAvailable)
            moveEnded = std::move(ended);
        return systemMoveAvailable;
    }
    // The user releases the button the window manager's move waits for.
    void endSystemMove()
    {
        if (auto ended = std::exchange(moveEnded, nullptr))
            ended();
    }

    QHash<const QWidget *, bool> topmost;
    bool systemMoveAvailable = true;
    std::function<void()> moveEnded;
};

// System colour n paints as (n, 2n, 3n).
struct FakeSystemColors final : public SystemColors {
    QColor systemColor(int n) const override { return QColor(n % 256, (2 * n) % 256, (3 * n) % 256); }
};

struct FakeLauncher final : public ProgramLauncher {
    void startMinimized(const QByteArray &programPath, const QByteArrayList &arguments) override
    {
        started << programPath;
        startedWith << arguments;
    }
    QByteArrayList started;
    QList<QByteArrayList> startedWith; // the arguments of each start
    // Files are judged as on the desktop.
    QByteArray programForFile(const QByteArray &file) override { return programOfFile(file); }
};

// A path has an icon when it names a regular file.
struct FakeIcons final : public ProgramIcons {
    QIcon smallIcon(const QByteArray &programPath, bool &found) override;
};

struct FakeShell final : public ShellOpener {
    void open(const QString &fileOrAddress) override { opened << fileOrAddress; }
    QStringList opened;
};

struct FakeSession final : public SessionEnder {
    void endSession(SessionRequest request) override { requests << request; }
    QList<SessionRequest> requests;
};

// A full platform of fakes; the pointers stay valid while the platform
// handed out by take() lives.
struct FakePlatform {
    FakePlatform();
    std::unique_ptr<Platform> take() { return std::move(platform); }

    std::unique_ptr<Platform> platform = std::make_unique<Platform>();
    FakeDialogs *dialogs;
    FakeWindowSystem *windows;
    FakeLauncher *launcher;
    FakeIcons *icons;
    FakeShell *shell;
    FakeSession *session;
};

} // namespace skylane::test
