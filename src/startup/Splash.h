#pragma once

#include <QWidget>

#include <array>

class QPushButton;
class QTimer;

namespace skylane {

class AppPaths;
class ConfigWriter;
class ColorLabel;
class ShellOpener;
class SystemColors;
class WindowSystem;

// The start-up window `Splash`: title, version, maker and notice, a "Help"
// button, the maker's web link and the red instruction line. Its load step
// makes the folders, checks the first-run marker and asks for the bar; on
// every run but the first it closes itself two seconds later. It doubles
// as the About window. It lives while it is shown: closing it destroys it
// (its widgets and window buffers with it), and the next opening builds it
// afresh.
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
    // `timer1`, when given, is a close timer the load step already ran
    // (see createTimer1); the window takes it over, running or not.
    Splash(Services services, const AppPaths &paths, QTimer *timer1 = nullptr);
    ~Splash() override;

    // The two-second close timer, not started.
    static QTimer *createTimer1(QObject *parent);
    // The load step's own work, run with or without the window: makes the
    // folders, then starts `timer1` unless this is the first run.
    static void loadFoldersAndMarker(const AppPaths &paths, ConfigWriter &writer, QTimer *timer1);

    // Shows the window: when it is closed, its load step runs first; when it
    // is open, it only comes to the front.
    void open();
    // Shows the window whose load step has run already.
    void present();

    // Controls, named as the program knows them.
    QPushButton *Command2() const { return m_command2; }
    QTimer *Timer1() const { return m_timer1; }
    ColorLabel *Label1(int index) const { return m_label1.at(static_cast<size_t>(index)); }
    ColorLabel *Label2() const { return m_label2; }
    ColorLabel *Label3() const { return m_label3; }
    ColorLabel *Label4() const { return m_label4; }
    ColorLabel *Label5() const { return m_label5; }
    ColorLabel *Label6() const { return m_label6; }
    // The area inside the thin frame; the controls are placed in it.
    QWidget *clientArea() const { return m_client; }

    // Handlers.
    void Form_Load();
    void Command2_Click();
    void Label4_Click();
    void Label6_Click();
    void Timer1_Timer();

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
    QPushButton *m_command2 = nullptr;
    QTimer *m_timer1 = nullptr;
    std::array<ColorLabel *, 2> m_label1{};
    ColorLabel *m_label2 = nullptr;
    ColorLabel *m_label3 = nullptr;
    ColorLabel *m_label4 = nullptr;
    ColorLabel *m_label5 = nullptr;
    ColorLabel *m_label6 = nullptr;
};

} // namespace skylane
