#include "bar/BarWindow.h"

#include "artwork/Artwork.h"
#include "bar/CommonDialog.h"
#include "platform/Dialogs.h"

#include <QComboBox>
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

constexpr TwipsRect kButtonTemplate{1110, 10, 325, 315};

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

BarWindow::BarWindow(const SystemColors &scheme, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), m_scheme(scheme)
{
    setObjectName(QStringLiteral("main"));
    setWindowIcon(artworkIcon(QStringLiteral("app"), QSize(16, 16)));
    // The bar never takes the keyboard focus, yet its tooltips must show.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::NoFocus);
    createControls(dialogs);
    applyGeometry();
}

BarWindow::~BarWindow() = default;

const std::array<BarWindow::Category, 13> &BarWindow::categories()
{
    static const std::array<Category, 13> table = {{
        {"Aud", "mnuAudio", "Audio", &BarMenus::mnuAudio},
        {"Game", "mnuGame", "Game", &BarMenus::mnuGame},
        {"Grap", "mnuGrap", "Graphics", &BarMenus::mnuGrap},
        {"Inet", "mnuInet", "Internet", &BarMenus::mnuInet},
        {"Misc", "mnuMisc", "Misc", &BarMenus::mnuMisc},
        {"Pack", "mnuPacks", "Packers", &BarMenus::mnuPacks},
        {"Sys", "mnuSys", "System", &BarMenus::mnuSys},
        {"Text", "mnuText", "Text", &BarMenus::mnuText},
        {"Tools", "mnuTools", "Tools", &BarMenus::mnuTools},
        {"Utils", "mnuUtils", "Utilities", &BarMenus::mnuUtils},
        {"Vid", "mnuVideo", "Video", &BarMenus::mnuVideo},
        {"Work", "mnuWork", "Work", &BarMenus::mnuWork},
        {kExitCategory, "mnuExit", "Exit", &BarMenus::mnuExit},
    }};
    return table;
}

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

    m_image1[AdderAdd] = image(AdderAdd, {795, 45, 300, 285}, {32, 32}, true, "add", "Image1_1");
    m_image1[AdderAdd]->setToolTip(QStringLiteral("Add button"));
    m_image1[AdderAdd]->hide();

    m_label1 = new ColorLabel(QLatin1String(kFirstCategory), 0x00FFFFFF, m_scheme, this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setFont(makeFont("MS Serif", 6.75, true));
    setTwipsGeometry(m_label1, {0, 0, 675, 195});

    m_image1[AdderRemove] = image(AdderRemove, {780, 45, 300, 285}, {32, 32}, true, "remove", "Image1_2");
    m_image1[AdderRemove]->setToolTip(QStringLiteral("Add button"));
    m_image1[AdderRemove]->hide();

    m_image2 = image(0, {405, 110, 360, 240}, {32, 32}, true, "drag", "Image2");

    m_image3[LampUnlit] = image(LampUnlit, {60, 160, 180, 180}, {12, 12}, false, "light-unlit", "Image3_0");
    m_image3[LampUnlit]->hide();
    m_image3[LampGreen] = image(LampGreen, {60, 160, 180, 180}, {12, 12}, false, "light-green", "Image3_1");
    m_image3[LampRed] = image(LampRed, {60, 160, 180, 180}, {12, 12}, false, "light-red", "Image3_2");
    m_image3[LampRed]->hide();

    m_image1[AdderResting] = image(AdderResting, {810, 60, 240, 240}, {32, 32}, true, "resting", "Image1_0");

    m_label2 = new ColorLabel(QStringLiteral("MENU"), systemColor(syscolor::HighlightText), m_scheme, this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setFont(makeFont("Arial Narrow", 6.75, false));
    int menuTop = -40;
#ifdef Q_OS_WIN
    // Without font smoothing (wine's default; Windows with ClearType off)
    // the capitals' top row is drawn crisp, and the bar's top edge would cut
    // it: the capitals start inside the bar.
    const QFontMetrics menuMetrics(m_label2->font());
    menuTop = std::max(menuTop, (menuMetrics.capHeight() - menuMetrics.ascent()) * kTwipsPerPixel);
#endif
    setTwipsGeometry(m_label2, {435, menuTop, 315, 195});
    autoSize(m_label2);

    // What a screen reader reads; the labels read their text.
    m_label1->setAccessibleDescription(QStringLiteral("Category: a click shows the next one"));
    m_label2->setAccessibleDescription(QStringLiteral("Opens the menu"));
    m_image2->setAccessibleName(QStringLiteral("Drag handle"));
    m_image2->setAccessibleDescription(QStringLiteral("Drag to move the bar"));
    const char *lights[] = {"Status light, unlit: a click brings the bar back above other windows",
                            "Status light, green: a click lets other windows cover the bar",
                            "Status light, red: the bar is coming back above other windows"};
    for (PictureBox *lamp : m_image3) {
        lamp->setAccessibleName(QStringLiteral("Status light"));
        lamp->setAccessibleDescription(QLatin1String(lights[lamp->index()]));
    }
    m_image1[AdderResting]->setAccessibleName(QStringLiteral("Add or remove buttons"));
    m_image1[AdderResting]->setAccessibleDescription(QStringLiteral("Left click arms adding, right click arms removing"));
    m_image1[AdderAdd]->setAccessibleName(QStringLiteral("Add button"));
    m_image1[AdderRemove]->setAccessibleName(QStringLiteral("Remove last button"));
    // Both images share a tooltip; each says what its own click does.
    m_image1[AdderAdd]->setAccessibleDescription(QStringLiteral("A click adds a blank button at the end of the row"));
    m_image1[AdderRemove]->setAccessibleDescription(QStringLiteral("A click removes the last button of the row"));

    m_command2.append(createButton(0));
    m_command2[0]->hide();
    m_command2.append(createButton(1));

    m_commonDialog1 = new CommonDialog(dialogs, this);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
}

const QComboBox *BarWindow::Combo1()
{
    if (!m_combo1) {
        m_combo1 = new QComboBox(this);
        m_combo1->setObjectName(QStringLiteral("Combo1"));
        m_combo1->setEditable(true);
        m_combo1->setEditText(QString());
        m_combo1->setFocusPolicy(Qt::NoFocus);
        for (const Category &category : categories())
            m_combo1->addItem(QLatin1String(category.name), 0);
        m_combo1->setEditText(QString());
        setTwipsGeometry(m_combo1, {120, 1500, 1395, 315});
        m_combo1->hide();
    }
    return m_combo1;
}

ProgramButton *BarWindow::createButton(int index)
{
    auto *button = new ProgramButton(index, this);
    button->setObjectName(QStringLiteral("Command2_%1").arg(index));
    setTwipsGeometry(button, kButtonTemplate);
    return button;
}

void BarWindow::createMenus()
{
    auto action = [](QMenu *menu, const char *name, const char *caption) {
        QAction *a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QLatin1String(name));
        return a;
    };
    auto submenu = [](QMenu *menu, const char *name, const char *caption) {
        QMenu *sub = menu->addMenu(QString::fromLatin1(caption));
        sub->setObjectName(QLatin1String(name));
        sub->menuAction()->setObjectName(QLatin1String(name));
        return sub;
    };

    BarMenus &m = m_menus;
    m.titleMainMenu = new QMenu(QStringLiteral("Mmenu"), this);
    m.titleMainMenu->setObjectName(QStringLiteral("titleMainMenu"));

    m.mnuBackground = submenu(m.titleMainMenu, "mnuBackground", "Background");
    m.mnuBGColor = action(m.mnuBackground, "mnuBGColor", "Color");
    m.mnuColrMatch = action(m.mnuBackground, "mnuColrMatch", "Match Active Bar");
    m.mnuColrMatchInact = action(m.mnuBackground, "mnuColrMatchInact", "Match Inactive Bar");
    m.mnuColrApplic = action(m.mnuBackground, "mnuColrApplic", "Match Borders");
    m.mnuColrDesktop = action(m.mnuBackground, "mnuColrDesktop", "Match Desktop");

    m.mnuFont = submenu(m.titleMainMenu, "mnuFont", "Font");
    m.mnuFontName = action(m.mnuFont, "mnuFontName", "Type");
    m.mnuFontColor = action(m.mnuFont, "mnuFontColor", "Color");

    m.mnuHide = action(m.titleMainMenu, "mnuHide", "Hide Menu");

    m.mnuType = submenu(m.titleMainMenu, "mnuType", "Type");
    for (const int index : typeMenuOrder()) {
        const Category &category = categories().at(static_cast<size_t>(index));
        m.*category.menuAction = action(m.mnuType, category.menuName, category.menuCaption);
    }

    m.mnuAbout = action(m.titleMainMenu, "mnuAbout", "About");
}

const BarMenus &BarWindow::menus()
{
    if (!m_menus.titleMainMenu) {
        createMenus();
        emit menusCreated(m_menus);
    }
    return m_menus;
}

bool BarWindow::showsExitCategory() const
{
    return m_label1->text() == QLatin1String(kExitCategory);
}

ProgramButton *BarWindow::Command2(int index) const
{
    if (index < 0 || index >= m_command2.size())
        return nullptr;
    return m_command2.at(index).data();
}

ProgramButton *BarWindow::loadCommand2(int index)
{
    if (index < 1 || index > kMaxCommand2Index)
        return nullptr;
    if (ProgramButton *existing = Command2(index))
        return existing;
    while (m_command2.size() <= index)
        m_command2.append(nullptr);
    ProgramButton *button = createButton(index);
    setTwipsGeometry(button, twipsGeometry(m_command2[0]));
    button->hide();
    m_command2[index] = button;
    emit command2Loaded(button);
    return button;
}

void BarWindow::unloadCommand2(int index)
{
    if (index < 2 || index >= m_command2.size())
        return;
    if (ProgramButton *button = m_command2[index]) {
        // Deferred only when the button is the one whose event is being
        // handled; otherwise a rebuilt row leaves nothing waiting for the
        // event loop.
        if (button->isHandlingEvent()) {
            button->hide();
            button->deleteLater();
        } else {
            delete button;
        }
    }
    m_command2[index] = nullptr;
    while (m_command2.size() > 2 && m_command2.constLast().isNull())
        m_command2.removeLast();
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
        m_label1->refreshColors();
        m_label2->refreshColors();
        update();
    }
    return QWidget::event(event);
}

} // namespace skylane
