#include "SkyLaneApp.h"

#include "bar/BarWindow.h"
#include "bar/Settings.h"

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

} // namespace skylane
