#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

class QPushButton;
class QRadioButton;

namespace skylane {

class SessionEnder;

// The exit dialog `Shutdown`: five options (normal shutdown, reboot, log
// off, forced log off, quit the bar) and "Ok"/"Cancel". Options 0 to 3 carry
// in their tag the number of the session request they ask for; option 4
// closes the bar and ends the program. Not modal, no owner, listed
// in the taskbar while open.
class Shutdown final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOptionCount = 5;
    static constexpr int kQuitOption = 4;

    Shutdown(SessionEnder &session, QWidget *mainWindow);

    QRadioButton *optExitOption(int index) const { return m_optExitOption.at(static_cast<size_t>(index)); }
    QPushButton *cmdOk() const { return m_cmdOk; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }
    QString tag(int index) const { return m_tags.at(static_cast<size_t>(index)); }

    // The load step: captions and tags of options 0 to 3, option 0
    // selected and holding the keyboard focus.
    void Form_Load();

    void cmdOk_Click();
    void cmdCancel_Click();

    // What ends the program after the quit option; QCoreApplication::exit(0)
    // unless replaced.
    void setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    int selectedOption() const;

    SessionEnder &m_session;
    QWidget *m_mainWindow;
    std::array<QRadioButton *, kOptionCount> m_optExitOption{};
    std::array<QString, kOptionCount> m_tags;
    QPushButton *m_cmdOk = nullptr;
    QPushButton *m_cmdCancel = nullptr;
    std::function<void()> m_endProgram;
};

} // namespace skylane
