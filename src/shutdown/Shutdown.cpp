#include "shutdown/Shutdown.h"

#include "artwork/Artwork.h"

#include "core/Twips.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QFont>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

namespace skylane {

namespace {

using Choice = Shutdown::Choice;

// Where each choice stands, indexed by Choice.
constexpr std::array<TwipsRect, Shutdown::kChoiceCount> kChoicePlaces = {{
    {240, 240, 1575, 255},
    {240, 600, 1575, 255},
    {240, 960, 1575, 255},
    {240, 1320, 1575, 255},
    {240, 1680, 2355, 255},
}};

constexpr int kClientWidthTwips = 3030;
constexpr int kClientHeightTwips = 2130;

} // namespace

Shutdown::Shutdown(SessionEnder &session, QWidget *mainWindow)
    : QDialog(nullptr), m_session(session), m_mainWindow(mainWindow),
      m_endProgram([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("Shutdown"));
    // A normal window rather than a dialog window: a dialog is made
    // transient and most taskbars leave it out.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(tr("Shutdown"));
    setWindowIcon(artworkIcon(QStringLiteral("shutdown"), QSize(16, 16)));
    setBackgroundRole(QPalette::Button); // the dialog face colour
    // The classic dialog face (a look-alike stands in where it is missing),
    // at a size whose captions fit the fixed layout; the desktop's larger
    // font would cut "Normal Shutdown" and "Forced Shutdown" off.
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPointSizeF(7.5);
    setFont(dialogFont);
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    setModal(false);
    createControls();
    loadChoices();
}

void Shutdown::createControls()
{
    static constexpr std::array<const char *, kChoiceCount> kObjectNames = {
        "shutDownChoice", "restartChoice", "logOffChoice", "forcedLogOffChoice", "quitChoice"};
    for (size_t i = 0; i < kChoicePlaces.size(); ++i) {
        auto *button = new QRadioButton(caption(static_cast<Choice>(i)), this);
        button->setObjectName(QLatin1String(kObjectNames.at(i)));
        setTwipsGeometry(button, kChoicePlaces.at(i));
        m_choiceButtons.at(i) = button;
    }
    m_okButton = new QPushButton(tr("Ok"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    setTwipsGeometry(m_okButton, {2040, 240, 735, 375});
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    setTwipsGeometry(m_cancelButton, {2040, 840, 735, 375});

    // Keyboard order: shut down, Cancel, Ok, forced log-off, log off, restart, quit.
    setTabOrder(choiceButton(Choice::ShutDown), m_cancelButton);
    setTabOrder(m_cancelButton, m_okButton);
    setTabOrder(m_okButton, choiceButton(Choice::ForcedLogOff));
    setTabOrder(choiceButton(Choice::ForcedLogOff), choiceButton(Choice::LogOff));
    setTabOrder(choiceButton(Choice::LogOff), choiceButton(Choice::Restart));
    setTabOrder(choiceButton(Choice::Restart), choiceButton(Choice::Quit));

    connect(m_okButton, &QPushButton::clicked, this, &Shutdown::onOkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &Shutdown::onCancelClicked);
}

namespace {

// The tags of the session choices keep the numbers the dialog has always
// carried (the session-end flags of the system it was first written for);
// the request is read back from the tag, so the tag alone decides what Ok
// asks.
struct TaggedRequest {
    Choice choice;
    int tag;
    SessionRequest request;
};

// "Forced Shutdown" is a forced log-off.
constexpr std::array<TaggedRequest, 4> kTaggedRequests = {{
    {Choice::ShutDown, 1, SessionRequest::Shutdown},
    {Choice::Restart, 2, SessionRequest::Reboot},
    {Choice::LogOff, 0, SessionRequest::LogOff},
    {Choice::ForcedLogOff, 4, SessionRequest::ForcedLogOff},
}};

std::optional<SessionRequest> requestOfTag(const QString &tag)
{
    bool isNumber = false;
    const int value = tag.toInt(&isNumber);
    for (const TaggedRequest &tagged : kTaggedRequests) {
        if (isNumber && tagged.tag == value)
            return tagged.request;
    }
    return std::nullopt;
}

} // namespace

void Shutdown::loadChoices()
{
    for (const TaggedRequest &tagged : kTaggedRequests) {
        choiceButton(tagged.choice)->setText(caption(tagged.choice));
        m_tags.at(slot(tagged.choice)) = QString::number(tagged.tag);
    }
    choiceButton(Choice::ShutDown)->setChecked(true);
    choiceButton(Choice::ShutDown)->setFocus(Qt::OtherFocusReason);
}

QString Shutdown::caption(Choice choice)
{
    switch (choice) {
    case Choice::ShutDown: return tr("Normal Shutdown");
    case Choice::Restart: return tr("Reboot");
    case Choice::LogOff: return tr("Log Off");
    case Choice::ForcedLogOff: return tr("Forced Shutdown");
    case Choice::Quit: return tr("Quit Sky Lane (buttons bar)");
    }
    return {};
}

std::optional<Shutdown::Choice> Shutdown::selectedChoice() const
{
    for (size_t i = 0; i < m_choiceButtons.size(); ++i) {
        if (m_choiceButtons.at(i)->isChecked())
            return static_cast<Choice>(i);
    }
    return std::nullopt;
}

void Shutdown::onOkClicked()
{
    const std::optional<Choice> choice = selectedChoice();
    if (choice == Choice::Quit) {
        if (m_mainWindow)
            m_mainWindow->close();
        close();
        m_endProgram();
        return;
    }
    if (!choice)
        return;
    if (const std::optional<SessionRequest> request = requestOfTag(tag(*choice)))
        m_session.endSession(*request);
}

void Shutdown::onCancelClicked()
{
    close();
}

void Shutdown::keyPressEvent(QKeyEvent *event)
{
    // Escape presses the cancel button, like a click on it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_cancelButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace skylane
