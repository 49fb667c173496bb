#pragma once

#include <QWidget>

class QPushButton;
class QTimer;

namespace skylane {

class AppPaths;
class ConfigWriter;
class ColorLabel;
class ShellOpener;
class SystemColors;
class WindowSystem;

// The start-up window: title, version, maker and notice, a "Help" button,
// the maker's web link and the red instruction line. Its load step makes the
// folders, checks the first-run marker and asks for the bar; on every run
// but the first it closes itself two seconds later. It doubles as the About
// window. It lives while it is shown: closing it destroys it (its widgets
// and window buffers with it), and the next opening builds it afresh.
class Splash : public QWidget {
    Q_OBJECT
public:
    // The services it uses: its window's kind, the scheme of its colours,
    // the opener of the help page and the web link.
    struct Services {
        WindowSystem &windows;
        const SystemColors &colors;
        ShellOpener &shell;
        ConfigWriter &writer;
    };
    // `closeTimer`, when given, is a close timer the load step already ran
    // (see createCloseTimer); the window takes it over, running or not.
    Splash(Services services, const AppPaths &paths, QTimer *closeTimer = nullptr);
    ~Splash() override;

    // The two-second close timer, not started.
    static QTimer *createCloseTimer(QObject *parent);
    // The load step's own work, run with or without the window: makes the
    // folders, then starts `closeTimer` on a later run.
    static void loadFoldersAndMarker(const AppPaths &paths, ConfigWriter &writer, QTimer *closeTimer);

    // Shows the window: when it is closed, its load step runs first; when it
    // is open, it only comes to the front.
    void open();
    // Shows the window whose load step has run already.
    void present();

    QPushButton *helpButton() const { return m_helpButton; }
    QTimer *closeTimer() const { return m_closeTimer; }
    // The red line that closes the window.
    ColorLabel *instructionLine() const { return m_instructionLine; }
    ColorLabel *webAddressLink() const { return m_webAddressLink; }
    // The area inside the thin frame; the controls are placed in it.
    QWidget *clientArea() const { return m_client; }

    // The load step: folders and marker, then the bar is asked for.
    void loadAndRequestBar();

    void onHelpClicked();
    void onInstructionLineClicked();
    void onWebAddressClicked();
    void onCloseTimerTimeout();

signals:
    // The load step wants the bar shown (loaded first if need be).
    void barRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void createControls();

    Services m_services;
    const AppPaths &m_paths;
    QWidget *m_client = nullptr;
    QPushButton *m_helpButton = nullptr;
    QTimer *m_closeTimer = nullptr;
    ColorLabel *m_instructionLine = nullptr;
    ColorLabel *m_webAddressLink = nullptr;
};

} // namespace skylane
