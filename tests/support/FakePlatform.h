#pragma once

#include "platform/Platform.h"

#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QStringList>

#include <deque>
#include <optional>

class QWidget;

namespace skylane::test {

// Dialogs whose answers a test scripts in advance; with no answer left every
// dialog is cancelled. Nothing modal ever appears.
class FakeDialogs final : public Dialogs {
public:
    std::optional<QString> openFile(QWidget *, const QString &initialPath, const QString &fileName) override;
    std::optional<QColor> chooseColor(QWidget *, const QColor &initial) override;
    std::optional<QFont> chooseFont(QWidget *, const QFont &initial) override;
    MessageAnswer askYesNoCancel(QWidget *, const QString &text, const QString &title) override;

    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QFont>> fontAnswers;
    std::deque<MessageAnswer> messageAnswers;

    // What was asked, in order: "open", "color", "font", "message".
    QStringList calls;
    QString lastInitialPath;
    QString lastFileName;
    QColor lastInitialColor;
    QString lastMessageText;
    QString lastMessageTitle;
};

class FakeWindowSystem final : public WindowSystem {
public:
    void prepareBarWindow(QWidget *bar) override;
    void prepareStartupWindow(QWidget *window) override;
    void setTopmost(QWidget *window, bool topmost) override;
    bool startSystemMove(QWidget *window, std::function<void()> ended) override;
    // The user releases the button that the window manager's move waits for.
    void endSystemMove();

    bool isTopmost(const QWidget *window) const { return topmost.value(window, false); }

    QHash<const QWidget *, bool> topmost;
    QList<bool> topmostCalls;
    int prepareCalls = 0;
    int startupPrepareCalls = 0;
    int systemMoves = 0;
    bool systemMoveAvailable = true;
    std::function<void()> moveEnded;
};

// A fixed colour scheme, so tests know what each system colour paints.
class FakeSystemColors final : public SystemColors {
public:
    QColor systemColor(int index) const override;
    QHash<int, QColor> scheme;
};

class FakeLauncher final : public ProgramLauncher {
public:
    void startMinimized(const QByteArray &programPath) override { started.append(programPath); }
    QByteArrayList started;
};

// A path has an icon when it names an existing file.
class FakeIcons final : public ProgramIcons {
public:
    QIcon smallIcon(const QByteArray &programPath, bool &found) override;
    int queries = 0;
};

class FakeShell final : public ShellOpener {
public:
    void open(const QString &fileOrAddress) override { opened.append(fileOrAddress); }
    QStringList opened;
};

class FakeSession final : public SessionEnder {
public:
    void endSession(SessionRequest request) override { requests.append(request); }
    QList<SessionRequest> requests;
};

// A full platform of fakes; the raw pointers stay valid while the platform
// handed out by take() lives.
class FakePlatform {
public:
    FakePlatform();
    std::unique_ptr<Platform> take() { return std::move(m_platform); }

    FakeDialogs *dialogs;
    FakeWindowSystem *windows;
    FakeSystemColors *colors;
    FakeLauncher *launcher;
    FakeIcons *icons;
    FakeShell *shell;
    FakeSession *session;

private:
    std::unique_ptr<Platform> m_platform;
};

} // namespace skylane::test
