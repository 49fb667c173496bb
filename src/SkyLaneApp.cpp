#include "SkyLaneApp.h"

#include "bar/BarWindow.h"
#include "bar/Settings.h"
#include "shutdown/Shutdown.h"

namespace skylane {

SkyLaneApp::SkyLaneApp(std::unique_ptr<Platform> platform, AppPaths paths)
    : m_platform(std::move(platform)), m_paths(std::move(paths)),
      m_bar(std::make_unique<BarWindow>(*m_platform))
{
}

SkyLaneApp::~SkyLaneApp() = default;

void SkyLaneApp::start()
{
    showBar();
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
