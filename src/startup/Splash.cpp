#include "startup/Splash.h"

#include "ProductInfo.h"
#include "artwork/Artwork.h"
#include "core/AppPaths.h"
#include "core/Twips.h"
#include "platform/Services.h"
#include "platform/WindowSystem.h"
#include "startup/FirstRun.h"
#include "widgets/Controls.h"

#include <QFile>
#include <QHideEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace skylane {

namespace {

// The client area in twips (screen position) and the thin frame around it.
constexpr TwipsRect kClientArea{3180, 2040, 5970, 4095};
constexpr int kFramePixels = 1;
constexpr QSize kDartsSize{125, 75};

constexpr ColorValue kWhite = 0x00FFFFFF;
constexpr ColorValue kDarkGreen = 0x00004000;
constexpr ColorValue kGrey = 0x00808080;
constexpr ColorValue kLightGrey = 0x00E0E0E0;
constexpr ColorValue kRed = 0x000000FF;

// White ground with the darts drawn unscaled in the top-left corner.
class SplashClientArea final : public QWidget {
public:
    explicit SplashClientArea(QWidget *parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), plainToQColor(kWhite));
        painter.drawPixmap(QPoint(0, 0), artwork(QStringLiteral("splash-darts"), kDartsSize, devicePixelRatioF()));
    }
};

// A left press and release over the label, as a click on a label is.
void onClick(ColorLabel *label, Splash *splash, void (Splash::*handler)())
{
    QObject::connect(label, &ColorLabel::mouseReleased, splash,
                     [label, splash, handler](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) {
                         if (button == Qt::LeftButton && label->rect().contains(pos))
                             (splash->*handler)();
                     });
}

} // namespace

Splash::Splash(Services services, const AppPaths &paths, QTimer *closeTimer)
    : m_services(services), m_paths(paths)
{
    setObjectName(QStringLiteral("Splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    m_services.windows.prepareStartupWindow(this);
    const QRect client = twipsToPixels(kClientArea);
    setFixedSize(client.size() + QSize(2 * kFramePixels, 2 * kFramePixels));
    m_client = new SplashClientArea(this);
    m_client->setGeometry(QRect(QPoint(kFramePixels, kFramePixels), client.size()));
    createControls();

    m_closeTimer = closeTimer ? closeTimer : createCloseTimer(this);
    m_closeTimer->setParent(this);
    connect(m_closeTimer, &QTimer::timeout, this, &Splash::onCloseTimerTimeout);
}

Splash::~Splash() = default;

QTimer *Splash::createCloseTimer(QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QStringLiteral("closeTimer"));
    timer->setInterval(2000);
    return timer;
}

void Splash::createControls()
{
    const SystemColors &scheme = m_services.colors;
    // Created from the bottom of the stacking order up.
    auto label = [&](const char *name, const QString &text, ColorValue color, const QFont &font,
                     const TwipsRect &r, bool autoSize) {
        auto *l = new ColorLabel(text, color, scheme, m_client);
        l->setObjectName(QLatin1String(name));
        l->setFont(font);
        setTwipsGeometry(l, r);
        if (autoSize)
            l->adjustSize();
        return l;
    };
    // The maker's line twice, light grey beneath and grey above, 40 twips
    // apart: an embossed look.
    const QString maker = QString::fromLatin1(product::kMakerName);
    label("makerShadow", maker, kLightGrey, makeFont("Arial Black", 24, false), {160, 500, 5700, 675}, true);
    label("makerLine", maker, kGrey, makeFont("Arial Black", 24, false), {120, 525, 5700, 675}, true);
    label("productName", QString::fromLatin1(product::kProductName), kDarkGreen, makeFont("Century Gothic", 18, true),
          {2280, 1320, 1545, 495}, false);
    label("versionLine", QString::fromLatin1(product::kVersionAndDate), kGrey, makeFont("Arial", 8.25, false),
          {3885, 1500, 1155, 255}, false);

    m_instructionLine = label("instructionLine", tr("Move the Button bar to the desired position and click on this line"),
                              kWhite, makeFont("MS Sans Serif", 8.25, true), {165, 2295, 5535, 195}, false);
    // The red line is the one label with an opaque ground.
    m_instructionLine->setAttribute(Qt::WA_TranslucentBackground, false);
    m_instructionLine->setAttribute(Qt::WA_NoSystemBackground, false);
    m_instructionLine->setAutoFillBackground(true);
    QPalette red = m_instructionLine->palette();
    red.setColor(QPalette::Window, plainToQColor(kRed));
    m_instructionLine->setPalette(red);
    m_instructionLine->adjustSize();
    onClick(m_instructionLine, this, &Splash::onInstructionLineClicked);

    label("freeNotice", tr("This program is FREE "), kDarkGreen, makeFont("Century Gothic", 18, true),
          {1170, 3585, 3570, 420}, true);
    m_webAddressLink = label("webAddressLink", QString::fromLatin1(product::kMakerWebAddress), kDarkGreen,
                             makeFont("Century Gothic", 11.25, true), {825, 1995, 4245, 270}, true);
    m_webAddressLink->setCursor(Qt::PointingHandCursor);
    onClick(m_webAddressLink, this, &Splash::onWebAddressClicked);

    m_helpButton = new QPushButton(tr("Help"), m_client);
    m_helpButton->setObjectName(QStringLiteral("helpButton"));
    m_helpButton->setFocusPolicy(Qt::StrongFocus);
    setTwipsGeometry(m_helpButton, {4920, 3420, 555, 315});
    // A push button that takes the keyboard focus: Space and Enter press it
    // as well as the mouse, and a press dragged off it does nothing.
    connect(m_helpButton, &QPushButton::clicked, this, &Splash::onHelpClicked);
    setFocusProxy(m_helpButton);
}

void Splash::open()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    loadAndRequestBar();
    present();
}

void Splash::present()
{
    m_services.windows.prepareStartupWindow(this);
    const QRect client = twipsToPixels(kClientArea);
    move(client.topLeft() - QPoint(kFramePixels, kFramePixels));
    show();
    raise();
    activateWindow();
    m_helpButton->setFocus();
}

void Splash::loadFoldersAndMarker(const AppPaths &paths, ConfigWriter &writer, QTimer *closeTimer)
{
    createFolders(paths);
    if (isLaterRun(paths, writer))
        closeTimer->start();
}

void Splash::loadAndRequestBar()
{
    loadFoldersAndMarker(m_paths, m_services.writer, m_closeTimer);
    emit barRequested();
}

void Splash::onHelpClicked()
{
    // Shown to the shell as text: a page under a folder whose name does not
    // decode cannot be named to it.
    m_services.shell.open(QFile::decodeName(m_paths.helpPage()));
}

void Splash::onWebAddressClicked()
{
    m_services.shell.open(QString::fromLatin1(product::kMakerWebAddress));
}

void Splash::onInstructionLineClicked()
{
    close();
}

void Splash::onCloseTimerTimeout()
{
    close();
}

void Splash::paintEvent(QPaintEvent *)
{
    // The thin fixed frame.
    QPainter painter(this);
    painter.fillRect(rect(), plainToQColor(kGrey));
}

void Splash::hideEvent(QHideEvent *event)
{
    // A closed window has no running timer; the next load starts it afresh.
    if (!event->spontaneous())
        m_closeTimer->stop();
    QWidget::hideEvent(event);
}

} // namespace skylane
