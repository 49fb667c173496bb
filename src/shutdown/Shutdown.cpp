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

struct OptionLayout {
    TwipsRect rect;
    const char *caption;
};

constexpr std::array<OptionLayout, Shutdown::kOptionCount> kOptions = {{
    {{240, 240, 1575, 255}, "Normal Shutdown"},
    {{240, 600, 1575, 255}, "Reboot"},
    {{240, 960, 1575, 255}, "Log Off"},
    {{240, 1320, 1575, 255}, "Forced Shutdown"},
    {{240, 1680, 2355, 255}, "Quit Sky Lane (buttons bar)"},
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
    setWindowTitle(QStringLiteral("Shutdown"));
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
    Form_Load();
}

void Shutdown::createControls()
{
    for (int i = 0; i < kOptionCount; ++i) {
        auto *option = new QRadioButton(QLatin1String(kOptions.at(static_cast<size_t>(i)).caption), this);
        option->setObjectName(QStringLiteral("optExitOption_%1").arg(i));
        setTwipsGeometry(option, kOptions.at(static_cast<size_t>(i)).rect);
        m_optExitOption.at(static_cast<size_t>(i)) = option;
    }
    m_cmdOk = new QPushButton(QStringLiteral("Ok"), this);
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    setTwipsGeometry(m_cmdOk, {2040, 240, 735, 375});
    m_cmdOk->setDefault(true);
    m_cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    setTwipsGeometry(m_cmdCancel, {2040, 840, 735, 375});

    // Keyboard order: Normal Shutdown, Cancel, Ok, Forced, Log Off, Reboot, Quit.
    setTabOrder(optExitOption(0), m_cmdCancel);
    setTabOrder(m_cmdCancel, m_cmdOk);
    setTabOrder(m_cmdOk, optExitOption(3));
    setTabOrder(optExitOption(3), optExitOption(2));
    setTabOrder(optExitOption(2), optExitOption(1));
    setTabOrder(optExitOption(1), optExitOption(4));

    connect(m_cmdOk, &QPushButton::clicked, this, &Shutdown::cmdOk_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &Shutdown::cmdCancel_Click);
}

namespace {

// The tags of options 0 to 3 keep the numbers the dialog has always carried
// (the session-end flags of the system it was first written for); the
// request is read back from the tag, so the tag alone decides what Ok asks.
struct TaggedRequest {
    int tag;
    SessionRequest request;
};

// "Forced Shutdown" is a forced log-off.
constexpr std::array<TaggedRequest, 4> kTaggedRequests = {{
    {1, SessionRequest::Shutdown},
    {2, SessionRequest::Reboot},
    {0, SessionRequest::LogOff},
    {4, SessionRequest::ForcedLogOff},
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

void Shutdown::Form_Load()
{
    for (size_t i = 0; i < kTaggedRequests.size(); ++i) {
        m_optExitOption.at(i)->setText(QLatin1String(kOptions.at(i).caption));
        m_tags.at(i) = QString::number(kTaggedRequests.at(i).tag);
    }
    optExitOption(0)->setChecked(true);
    optExitOption(0)->setFocus(Qt::OtherFocusReason);
}

int Shutdown::selectedOption() const
{
    for (int i = 0; i < kOptionCount; ++i) {
        if (optExitOption(i)->isChecked())
            return i;
    }
    return -1;
}

void Shutdown::cmdOk_Click()
{
    const int option = selectedOption();
    if (option == kQuitOption) {
        if (m_mainWindow)
            m_mainWindow->close();
        close();
        m_endProgram();
        return;
    }
    if (option < 0)
        return;
    if (const std::optional<SessionRequest> request = requestOfTag(tag(option)))
        m_session.endSession(*request);
}

void Shutdown::cmdCancel_Click()
{
    close();
}

void Shutdown::keyPressEvent(QKeyEvent *event)
{
    // Escape presses the cancel button, like a click on it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_cmdCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace skylane
