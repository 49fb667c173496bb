#include "bar/BarWindow.h"

#include "artwork/Artwork.h"
#include "bar/DialogChoices.h"
#include "platform/Dialogs.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QMoveEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace skylane {

namespace {

// A label whose size follows its text keeps its place; the remembered twips
// take the size it grew to.
void autoSize(QLabel *label)
{
    TwipsRect r = twipsGeometry(label);
    label->adjustSize();
    r.width = label->width() * kTwipsPerPixel;
    r.height = label->height() * kTwipsPerPixel;
    setTwipsGeometry(label, r);
}

} // namespace

BarWindow::BarWindow(const BarModel &model, const SystemColors &scheme, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), m_scheme(scheme)
{
    setObjectName(QStringLiteral("barWindow"));
    setWindowIcon(artworkIcon(QStringLiteral("app"), QSize(16, 16)));
    // The bar never takes the keyboard focus, yet its tooltips must show.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::NoFocus);
    createControls(dialogs);
    applyGeometry();
    connect(&model, &BarModel::categoryChanged, m_caption, &ColorLabel::setCaption);
    connect(&model, &BarModel::adderChanged, this, &BarWindow::showAdder);
    connect(&model, &BarModel::lampChanged, this, &BarWindow::showLamp);
}

BarWindow::~BarWindow() = default;

const std::array<int, 13> &BarWindow::typeMenuOrder()
{
    static const std::array<int, 13> order = {0, 1, 2, 3, 4, 5, 7, 6, 8, 9, 10, 11, 12};
    return order;
}

void BarWindow::createControls(Dialogs &dialogs)
{
    // Created from the bottom of the stacking order up: a later sibling lies
    // above an earlier one where they overlap.
    auto image = [this](int index, const TwipsRect &r, QSize natural, bool stretch,
                        const char *pic, const char *name) {
        auto *box = new PictureBox(index, natural, stretch, this);
        box->setObjectName(QLatin1String(name));
        box->setPicture(QLatin1String(pic));
        setTwipsGeometry(box, r);
        return box;
    };

    m_adder[size_t(BarModel::Adder::Add)] = image(int(BarModel::Adder::Add), {795, 45, 300, 285}, {32, 32}, true, "add", "addImage");
    m_adder[size_t(BarModel::Adder::Add)]->setToolTip(tr("Add button"));
    m_adder[size_t(BarModel::Adder::Add)]->hide();

    m_caption = new ColorLabel(QLatin1String(BarModel::kFirstCategory), 0x00FFFFFF, m_scheme, this);
    m_caption->setObjectName(QStringLiteral("caption"));
    m_caption->setFont(makeFont("MS Serif", 6.75, true));
    setTwipsGeometry(m_caption, {0, 0, 675, 195});

    m_adder[size_t(BarModel::Adder::Remove)] = image(int(BarModel::Adder::Remove), {780, 45, 300, 285}, {32, 32}, true, "remove", "removeImage");
    m_adder[size_t(BarModel::Adder::Remove)]->setToolTip(tr("Add button"));
    m_adder[size_t(BarModel::Adder::Remove)]->hide();

    m_dragHandle = image(0, {405, 110, 360, 240}, {32, 32}, true, "drag", "dragHandle");

    m_statusLight[size_t(BarModel::Lamp::Unlit)] = image(int(BarModel::Lamp::Unlit), {60, 160, 180, 180}, {12, 12}, false, "light-unlit", "statusLightUnlit");
    m_statusLight[size_t(BarModel::Lamp::Unlit)]->hide();
    m_statusLight[size_t(BarModel::Lamp::Green)] = image(int(BarModel::Lamp::Green), {60, 160, 180, 180}, {12, 12}, false, "light-green", "statusLightGreen");
    m_statusLight[size_t(BarModel::Lamp::Red)] = image(int(BarModel::Lamp::Red), {60, 160, 180, 180}, {12, 12}, false, "light-red", "statusLightRed");
    m_statusLight[size_t(BarModel::Lamp::Red)]->hide();

    m_adder[size_t(BarModel::Adder::Resting)] = image(int(BarModel::Adder::Resting), {810, 60, 240, 240}, {32, 32}, true, "resting", "adderImage");

    m_menuLabel = new ColorLabel(tr("MENU"), systemColor(syscolor::HighlightText), m_scheme, this);
    m_menuLabel->setObjectName(QStringLiteral("menuLabel"));
    m_menuLabel->setFont(makeFont("Arial Narrow", 6.75, false));
    int menuTop = -40;
#ifdef Q_OS_WIN
    // Without font smoothing (wine's default; Windows with ClearType off)
    // the capitals' top row is drawn crisp, and the bar's top edge would cut
    // it: the capitals start inside the bar.
    const QFontMetrics menuMetrics(m_menuLabel->font());
    menuTop = std::max(menuTop, (menuMetrics.capHeight() - menuMetrics.ascent()) * kTwipsPerPixel);
#endif
    setTwipsGeometry(m_menuLabel, {435, menuTop, 315, 195});
    autoSize(m_menuLabel);

    // What a screen reader reads; the labels read their text.
    m_caption->setAccessibleDescription(tr("Category: a click shows the next one"));
    m_menuLabel->setAccessibleDescription(tr("Opens the menu"));
    m_dragHandle->setAccessibleName(tr("Drag handle"));
    m_dragHandle->setAccessibleDescription(tr("Drag to move the bar"));
    const char *lights[] = {QT_TR_NOOP("Status light, unlit: a click brings the bar back above other windows"),
                            QT_TR_NOOP("Status light, green: a click lets other windows cover the bar"),
                            QT_TR_NOOP("Status light, red: the bar is coming back above other windows")};
    for (PictureBox *lamp : m_statusLight) {
        lamp->setAccessibleName(tr("Status light"));
        lamp->setAccessibleDescription(tr(lights[lamp->index()]));
    }
    m_adder[size_t(BarModel::Adder::Resting)]->setAccessibleName(tr("Add or remove buttons"));
    m_adder[size_t(BarModel::Adder::Resting)]->setAccessibleDescription(tr("Left click arms adding, right click arms removing"));
    m_adder[size_t(BarModel::Adder::Add)]->setAccessibleName(tr("Add button"));
    m_adder[size_t(BarModel::Adder::Remove)]->setAccessibleName(tr("Remove last button"));
    // Both images share a tooltip; each says what its own click does.
    m_adder[size_t(BarModel::Adder::Add)]->setAccessibleDescription(tr("A click adds a blank button at the end of the row"));
    m_adder[size_t(BarModel::Adder::Remove)]->setAccessibleDescription(tr("A click removes the last button of the row"));

    m_dialogChoices = new DialogChoices(dialogs, this);

    m_blinkTimer = new QTimer(this);
    m_blinkTimer->setObjectName(QStringLiteral("blinkTimer"));
    m_blinkTimer->setInterval(1000);
}

void BarWindow::showAdder(BarModel::Adder shown)
{
    for (size_t i = 0; i < m_adder.size(); ++i)
        m_adder.at(i)->setVisible(i == size_t(shown));
}

void BarWindow::showLamp(BarModel::Lamp shown)
{
    for (size_t i = 0; i < m_statusLight.size(); ++i)
        m_statusLight.at(i)->setVisible(i == size_t(shown));
}

void BarWindow::createMenus()
{
    auto action = [](QMenu *menu, const char *name, const char *caption) {
        QAction *a = menu->addAction(tr(caption));
        a->setObjectName(QLatin1String(name));
        return a;
    };
    auto submenu = [](QMenu *menu, const char *name, const char *caption) {
        QMenu *sub = menu->addMenu(tr(caption));
        sub->setObjectName(QLatin1String(name));
        sub->menuAction()->setObjectName(QLatin1String(name));
        return sub;
    };

    BarMenus &m = m_menus;
    m.mainMenu = new QMenu(QStringLiteral("Mmenu"), this);
    m.mainMenu->setObjectName(QStringLiteral("mainMenu"));

    m.backgroundMenu = submenu(m.mainMenu, "backgroundMenu", QT_TR_NOOP("Background"));
    m.chooseBackgroundColor = action(m.backgroundMenu, "chooseBackgroundColor", QT_TR_NOOP("Color"));
    m.matchActiveBar = action(m.backgroundMenu, "matchActiveBar", QT_TR_NOOP("Match Active Bar"));
    m.matchInactiveBar = action(m.backgroundMenu, "matchInactiveBar", QT_TR_NOOP("Match Inactive Bar"));
    m.matchBorders = action(m.backgroundMenu, "matchBorders", QT_TR_NOOP("Match Borders"));
    m.matchDesktop = action(m.backgroundMenu, "matchDesktop", QT_TR_NOOP("Match Desktop"));

    m.fontMenu = submenu(m.mainMenu, "fontMenu", QT_TR_NOOP("Font"));
    m.chooseCaptionFont = action(m.fontMenu, "chooseCaptionFont", QT_TR_NOOP("Type"));
    m.chooseCaptionColor = action(m.fontMenu, "chooseCaptionColor", QT_TR_NOOP("Color"));

    m.hideMenu = action(m.mainMenu, "hideMenu", QT_TR_NOOP("Hide Menu"));

    m.typeMenu = submenu(m.mainMenu, "typeMenu", QT_TR_NOOP("Type"));
    for (const int index : typeMenuOrder()) {
        const BarModel::Category &category = BarModel::categories().at(static_cast<size_t>(index));
        const QByteArray name = QByteArray("show") + category.name;
        m.showCategory.at(size_t(index)) = action(m.typeMenu, name.constData(), category.menuCaption);
    }

    m.about = action(m.mainMenu, "about", QT_TR_NOOP("About"));
}

const BarMenus &BarWindow::menus()
{
    if (!m_menus.mainMenu) {
        createMenus();
        emit menusCreated(m_menus);
    }
    return m_menus;
}

void BarWindow::moveTwips(double left, double top)
{
    m_leftTwips = left;
    m_topTwips = top;
    move(twipsToPixels(left), twipsToPixels(top));
}

void BarWindow::resizeTwips(int width, int height)
{
    m_widthTwips = width;
    m_heightTwips = height;
    // A plain resize: fixed-size hints would be rewritten on every build and
    // make the window manager re-read them while the bar is mapped. X keeps
    // sizes in 16 bits, so a longer row is cut, not wrapped; and it is cut at
    // the width of the desktop, since a window manager keeps part of a window
    // that is many screens wide on the screen by pushing its left end, with
    // the bar's own controls, off it.
    int limit = 32767;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        limit = std::clamp(screen->virtualGeometry().width(), 1, limit);
    resize(std::clamp(twipsToPixels(width), 1, limit), std::clamp(twipsToPixels(height), 1, 32767));
}

void BarWindow::applyGeometry()
{
    moveTwips(m_leftTwips, m_topTwips);
    resizeTwips(m_widthTwips, m_heightTwips);
}

void BarWindow::setBackColor(ColorValue color)
{
    m_backColor = color;
    update();
}

void BarWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), resolveColor(m_backColor, m_scheme));
}

void BarWindow::moveEvent(QMoveEvent *event)
{
    // Moved by the window system (a drag): the twips follow the new place.
    // A move the program asked for lands where the twips say, and keeps them.
    const QPoint p = event->pos();
    if (p.x() != twipsToPixels(m_leftTwips))
        m_leftTwips = pixelsToTwips(p.x());
    if (p.y() != twipsToPixels(m_topTwips))
        m_topTwips = pixelsToTwips(p.y());
    QWidget::moveEvent(event);
}

bool BarWindow::event(QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange) {
        // System colours follow the desktop's scheme.
        m_caption->refreshColors();
        m_menuLabel->refreshColors();
        update();
    }
    return QWidget::event(event);
}

} // namespace skylane
