#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QPushButton;
class QRadioButton;

namespace skylane {

class SessionEnder;

// The exit dialog: five choices (shut down, restart, log off, forced log
// off, quit the bar), "Ok" and "Cancel". Each of the four choices that end
// the session carries in its tag the number of the session request it asks
// for; quitting closes the bar and ends the program. Not modal, no owner,
// listed in the taskbar while open.
class Shutdown final : public QDialog {
    Q_OBJECT
public:
    // In the dialog's order, top to bottom.
    enum class Choice { ShutDown, Restart, LogOff, ForcedLogOff, Quit };
    static constexpr int kChoiceCount = 5;

    Shutdown(SessionEnder &session, QWidget *mainWindow);

    QRadioButton *choiceButton(Choice choice) const { return m_choiceButtons.at(slot(choice)); }
    QPushButton *okButton() const { return m_okButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QString tag(Choice choice) const { return m_tags.at(slot(choice)); }

    // The load step: captions and tags of the four session choices, "shut
    // down" selected and holding the keyboard focus.
    void loadChoices();

    void onOkClicked();
    void onCancelClicked();

    // What ends the program after the quit choice; QCoreApplication::exit(0)
    // unless replaced.
    void setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    static size_t slot(Choice choice) { return static_cast<size_t>(choice); }
    static QString caption(Choice choice);
    void createControls();
    std::optional<Choice> selectedChoice() const;

    SessionEnder &m_session;
    QWidget *m_mainWindow;
    std::array<QRadioButton *, kChoiceCount> m_choiceButtons{};
    std::array<QString, kChoiceCount> m_tags;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    std::function<void()> m_endProgram;
};

} // namespace skylane
