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

Splash::Splash(Services services, const AppPaths &paths, QTimer *timer1) : m_services(services), m_paths(paths)
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

    m_timer1 = timer1 ? timer1 : createTimer1(this);
    m_timer1->setParent(this);
    connect(m_timer1, &QTimer::timeout, this, &Splash::Timer1_Timer);
}

Splash::~Splash() = default;

QTimer *Splash::createTimer1(QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QStringLiteral("Timer1"));
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
    const QString maker = QString::fromLatin1(product::kMakerName);
    m_label1[1] = label("Label1_1", maker, kLightGrey, makeFont("Arial Black", 24, false),
                        {160, 500, 5700, 675}, true);
    m_label1[0] = label("Label1_0", maker, kGrey, makeFont("Arial Black", 24, false),
                        {120, 525, 5700, 675}, true);
    m_label2 = label("Label2", QString::fromLatin1(product::kProductName), kDarkGreen, makeFont("Century Gothic", 18, true),
                     {2280, 1320, 1545, 495}, false);
    m_label3 = label("Label3", QString::fromLatin1(product::kVersionAndDate), kGrey, makeFont("Arial", 8.25, false),
                     {3885, 1500, 1155, 255}, false);

    m_label4 = label("Label4", QStringLiteral("Move the Button bar to the desired position and click on this line"),
                     kWhite, makeFont("MS Sans Serif", 8.25, true), {165, 2295, 5535, 195}, false);
    // The red line is the one label with an opaque ground.
    m_label4->setAttribute(Qt::WA_TranslucentBackground, false);
    m_label4->setAttribute(Qt::WA_NoSystemBackground, false);
    m_label4->setAutoFillBackground(true);
    QPalette red = m_label4->palette();
    red.setColor(QPalette::Window, plainToQColor(kRed));
    m_label4->setPalette(red);
    m_label4->adjustSize();
    onClick(m_label4, this, &Splash::Label4_Click);

    m_label5 = label("Label5", QStringLiteral("This program is FREE "), kDarkGreen,
                     makeFont("Century Gothic", 18, true), {1170, 3585, 3570, 420}, true);
    m_label6 = label("Label6", QString::fromLatin1(product::kMakerWebAddress), kDarkGreen,
                     makeFont("Century Gothic", 11.25, true), {825, 1995, 4245, 270}, true);
    m_label6->setCursor(Qt::PointingHandCursor);
    onClick(m_label6, this, &Splash::Label6_Click);

    m_command2 = new QPushButton(QStringLiteral("Help"), m_client);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setFocusPolicy(Qt::StrongFocus);
    setTwipsGeometry(m_command2, {4920, 3420, 555, 315});
    // A push button that takes the keyboard focus: Space and Enter press it
    // as well as the mouse, and a press dragged off it does nothing.
    connect(m_command2, &QPushButton::clicked, this, &Splash::Command2_Click);
    setFocusProxy(m_command2);
}

void Splash::open()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    Form_Load();
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
    m_command2->setFocus();
}

void Splash::loadFoldersAndMarker(const AppPaths &paths, ConfigWriter &writer, QTimer *timer1)
{
    CreateFolders(paths);
    if (CheckFirstRun(paths, writer))
        timer1->start();
}

void Splash::Form_Load()
{
    loadFoldersAndMarker(m_paths, m_services.writer, m_timer1);
    emit barRequested();
}

void Splash::Command2_Click()
{
    // Shown to the shell as text: a page under a folder whose name does not
    // decode cannot be named to it.
    m_services.shell.open(QFile::decodeName(m_paths.helpPage()));
}

void Splash::Label6_Click()
{
    m_services.shell.open(m_label6->text());
}

void Splash::Label4_Click()
{
    close();
}

void Splash::Timer1_Timer()
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
        m_timer1->stop();
    QWidget::hideEvent(event);
}

} // namespace skylane
