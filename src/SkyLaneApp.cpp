#include "SkyLaneApp.h"

#include "bar/Appearance.h"
#include "bar/BarPlacement.h"
#include "bar/BarWindow.h"
#include "bar/PopupMenu.h"
#include "bar/RestoreWindow.h"
#include "bar/SaveFailureNotice.h"
#include "bar/Settings.h"
#include "bar/StatusLight.h"
#include "buttons/ButtonActions.h"
#include "buttons/ButtonAdder.h"
#include "buttons/ButtonDrops.h"
#include "buttons/ButtonMover.h"
#include "buttons/ButtonRow.h"
#include "buttons/CategorySelector.h"
#include "buttons/CategoryStore.h"
#include "shutdown/Shutdown.h"
#include "startup/Splash.h"
#include "widgets/UnusedFonts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <functional>

namespace skylane {

namespace {

// Runs `then` once, queued behind the widget's first paint (so after the
// painted picture went to the screen), or after `fallbackMs` when no paint
// comes (a window the window manager keeps unmapped or fully covered).
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(QWidget *widget, int fallbackMs, std::function<void()> then)
        : QObject(widget), m_then(std::move(then))
    {
        widget->installEventFilter(this);
        m_fallback.setSingleShot(true);
        connect(&m_fallback, &QTimer::timeout, this, &AfterFirstPaint::fire);
        m_fallback.start(fallbackMs);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_queued) {
            m_queued = true;
            m_fallback.stop();
            QMetaObject::invokeMethod(this, &AfterFirstPaint::fire, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void fire()
    {
        m_fallback.stop();
        if (const auto then = std::exchange(m_then, nullptr))
            then();
        deleteLater();
    }

    std::function<void()> m_then;
    QTimer m_fallback;
    bool m_queued = false;
};

} // namespace

SkyLaneApp::SkyLaneApp(std::unique_ptr<Platform> platform, AppPaths paths)
    : m_platform(std::move(platform)), m_paths(std::move(paths))
{
    // The icons of the row shown first are found while the system's fonts
    // are still being read on the warm-up thread; the bar's window, which
    // measures text at once, is built when that is done.
    if (const auto firstRow = CategoryStore::readFile(QLatin1String(BarModel::kFirstCategory), m_paths))
        m_platform->icons->prefetch(*firstRow);
    finishLibraryWarmUp();
    m_bar = std::make_unique<BarWindow>(m_model, *m_platform->colors, *m_platform->dialogs);
    m_saveFailures = std::make_unique<SaveFailureNotice>(m_bar.get(), m_writer);
    // A change the disk refused gets a last try as the program ends.
    connect(qApp, &QCoreApplication::aboutToQuit, &m_writer, &ConfigWriter::writeUnsaved);
    createButtonRow();
    createBarControls();
}

SkyLaneApp::~SkyLaneApp()
{
    delete m_splash;
}

void SkyLaneApp::start()
{
    // The start-up window's load step, run before the window exists: the
    // folders, the marker check (a later run's two seconds count from here),
    // then the bar.
    QTimer *timer1 = Splash::createCloseTimer(this);
    Splash::loadFoldersAndMarker(m_paths, m_writer, timer1);
    if (timer1->isActive()) {
        // Its time may run out before the window is built: then it is not shown.
        connect(timer1, &QTimer::timeout, this, [this, timer1] {
            timer1->stop();
            m_startupWindowDue = true;
        });
    }
    showBar();
    new AfterFirstPaint(m_bar.get(), 1000, [this, timer1] { openStartupWindow(timer1); });
}

void SkyLaneApp::openStartupWindow(QTimer *timer1)
{
    timer1->disconnect(this);
    if (m_startupWindowDue || (m_splash && m_splash->isVisible())) {
        delete timer1;
        return;
    }
    createSplash(timer1)->present();
}

Splash *SkyLaneApp::createSplash(QTimer *timer1)
{
    if (m_splash)
        m_splash->deleteLater(); // closed, or hidden without closing
    m_splash = new Splash(Splash::Services{*m_platform->windows, *m_platform->colors, *m_platform->shell, m_writer}, m_paths,
                          timer1);
    connect(m_splash.data(), &Splash::barRequested, this, &SkyLaneApp::showBar);
    // Its four font families and what it drew with stay with the process
    // unless let go once it is gone.
    connect(
        m_splash.data(), &QObject::destroyed, this,
        [] {
            dropUnusedFontEngines();
            returnFreedMemory();
        },
        Qt::QueuedConnection);
    return m_splash;
}

Splash *SkyLaneApp::splash() const
{
    return m_splash && m_splash->isVisible() ? m_splash.data() : nullptr;
}

void SkyLaneApp::showSplash()
{
    if (m_splash && m_splash->isVisible())
        m_splash->open(); // only brought forward
    else
        createSplash(nullptr)->open();
}

void SkyLaneApp::createButtonRow()
{
    m_row = new ButtonRow(*m_bar, m_model, m_paths, *m_platform->icons);
    m_categoryStore = new CategoryStore(m_model, m_paths, m_writer);
    m_categories = std::make_unique<CategorySelector>(*m_bar, m_model, m_paths, m_writer);
    m_buttonActions = std::make_unique<ButtonActions>(*m_bar, m_model, *m_row, *m_categoryStore,
                                                      ButtonActions::Services{*m_platform->launcher, *m_platform->dialogs});
    connect(m_buttonActions.get(), &ButtonActions::exitDialogRequested, this, &SkyLaneApp::showExitDialog);
    m_buttonAdder = std::make_unique<ButtonAdder>(*m_bar, m_model, *m_categoryStore);
    m_buttonDrops = std::make_unique<ButtonDrops>(*m_bar, m_model, *m_buttonActions, *m_platform->launcher);
    m_buttonMover = std::make_unique<ButtonMover>(*m_bar, m_model, *m_row, *m_categoryStore);
}

void SkyLaneApp::createBarControls()
{
    m_statusLight = std::make_unique<StatusLight>(*m_bar, m_model, *m_platform->windows);
    connect(m_statusLight.get(), &StatusLight::restoreWindowRequested, this,
            [this] { restoreWindow().showEntry(); });
    m_placement = std::make_unique<BarPlacement>(*m_bar, *m_platform->windows, m_paths, m_writer);
    m_popupMenu = std::make_unique<PopupMenu>(*m_bar);
    connect(m_popupMenu.get(), &PopupMenu::aboutRequested, this, &SkyLaneApp::showSplash);
    m_appearance = std::make_unique<Appearance>(*m_bar, m_paths, m_writer);
}

RestoreWindow &SkyLaneApp::restoreWindow()
{
    if (!m_restoreWindow)
        m_restoreWindow = std::make_unique<RestoreWindow>(*m_bar, m_model);
    return *m_restoreWindow;
}

void SkyLaneApp::showBar()
{
    if (!m_barLoaded) {
        m_barLoaded = true;
        loadBar();
    }
    m_bar->show();
}

void SkyLaneApp::loadBar()
{
    m_platform->windows->prepareBarWindow(m_bar.get());
    loadSettings(*m_bar, m_paths);
    m_platform->windows->setTopmost(m_bar.get(), true);
    m_categoryStore->load();
}

bool SkyLaneApp::exitDialogShown() const
{
    return m_exitDialog && m_exitDialog->isVisible();
}

void SkyLaneApp::showExitDialog()
{
    if (!m_exitDialog)
        createExitDialog();
    if (m_exitDialog->isVisible()) {
        m_exitDialog->raise();
        m_exitDialog->activateWindow();
        return;
    }
    m_exitDialog->loadChoices();
    m_exitDialog->show();
    m_exitDialog->activateWindow();
}

void SkyLaneApp::createExitDialog()
{
    m_exitDialog = std::make_unique<Shutdown>(*m_platform->session, m_bar.get());
}

} // namespace skylane
