#include "SkyLaneApp.h"

#include "bar/Appearance.h"
#include "bar/BarPlacement.h"
#include "bar/BarWindow.h"
#include "bar/PopupMenu.h"
#include "bar/RestoreWindow.h"
#include "bar/Settings.h"
#include "bar/StatusLight.h"
#include "buttons/BarBuilder.h"
#include "buttons/ButtonActions.h"
#include "buttons/ButtonAdder.h"
#include "buttons/ButtonDrops.h"
#include "buttons/ButtonMover.h"
#include "buttons/CategorySelector.h"
#include "shutdown/Shutdown.h"
#include "startup/Splash.h"

namespace skylane {

SkyLaneApp::SkyLaneApp(std::unique_ptr<Platform> platform, AppPaths paths)
    : m_platform(std::move(platform)), m_paths(std::move(paths)),
      m_bar(std::make_unique<BarWindow>(*m_platform->colors, *m_platform->dialogs))
{
    createButtonRow();
    m_splash = std::make_unique<Splash>(
        Splash::Services{*m_platform->windows, *m_platform->colors, *m_platform->shell}, m_paths);
    connect(m_splash.get(), &Splash::barRequested, this, &SkyLaneApp::showBar);
    createBarControls();
}

SkyLaneApp::~SkyLaneApp() = default;

void SkyLaneApp::start()
{
    showSplash();
}

void SkyLaneApp::showSplash()
{
    m_splash->open();
}

void SkyLaneApp::createButtonRow()
{
    m_barBuilder = std::make_unique<BarBuilder>(*m_bar, m_paths, *m_platform->icons);
    m_categories = std::make_unique<CategorySelector>(*m_bar, *m_barBuilder, m_paths);
    m_buttonActions = std::make_unique<ButtonActions>(
        *m_bar, m_paths, ButtonActions::Services{*m_platform->launcher, *m_platform->dialogs, *m_platform->icons});
    connect(m_buttonActions.get(), &ButtonActions::exitDialogRequested, this, &SkyLaneApp::showExitDialog);
    m_buttonAdder = std::make_unique<ButtonAdder>(*m_bar, m_paths);
    m_buttonDrops = std::make_unique<ButtonDrops>(*m_bar, *m_buttonActions, *m_buttonAdder, *m_platform->launcher);
    m_buttonMover = std::make_unique<ButtonMover>(*m_bar, m_paths);
}

void SkyLaneApp::createBarControls()
{
    m_statusLight = std::make_unique<StatusLight>(*m_bar, *m_platform->windows);
    connect(m_statusLight.get(), &StatusLight::restoreWindowRequested, this,
            [this] { restoreWindow().showEntry(); });
    m_placement = std::make_unique<BarPlacement>(*m_bar, *m_platform->windows, m_paths);
    m_popupMenu = std::make_unique<PopupMenu>(*m_bar);
    connect(m_popupMenu.get(), &PopupMenu::aboutRequested, this, &SkyLaneApp::showSplash);
    m_appearance = std::make_unique<Appearance>(*m_bar, m_paths);
}

RestoreWindow &SkyLaneApp::restoreWindow()
{
    if (!m_restoreWindow)
        m_restoreWindow = std::make_unique<RestoreWindow>(*m_bar);
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
    LoadSettings(*m_bar, m_paths);
    m_platform->windows->setTopmost(m_bar.get(), true);
    m_barBuilder->BuildBar();
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
    m_exitDialog->Form_Load();
    m_exitDialog->show();
    m_exitDialog->activateWindow();
}

void SkyLaneApp::createExitDialog()
{
    m_exitDialog = std::make_unique<Shutdown>(*m_platform->session, m_bar.get());
}

} // namespace skylane
