#include "SkyLaneApp.h"

#include "bar/BarWindow.h"
#include "bar/Settings.h"
#include "buttons/BarBuilder.h"
#include "buttons/CategorySelector.h"

#include <QAction>

namespace skylane {

SkyLaneApp::SkyLaneApp(std::unique_ptr<Platform> platform, AppPaths paths)
    : m_platform(std::move(platform)), m_paths(std::move(paths)),
      m_bar(std::make_unique<BarWindow>(*m_platform))
{
    wireButtonRow();
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
    m_barBuilder->BuildBar();
}

void SkyLaneApp::wireButtonRow()
{
    m_barBuilder = std::make_unique<BarBuilder>(*m_bar, m_paths, *m_platform->icons);
    m_categories = std::make_unique<CategorySelector>(*m_bar, *m_barBuilder, m_paths);
    CategorySelector *categories = m_categories.get();
    ColorLabel *caption = m_bar->Label1();
    connect(caption, &ColorLabel::captionChanged, this, [categories] { categories->Label1_Change(); });
    connect(caption, &ColorLabel::mouseReleased, this,
            [categories](Qt::MouseButton button) { categories->Label1_MouseUp(button); });
    for (const auto &[action, name] : typeMenuCommands(m_bar->menus()))
        connect(action, &QAction::triggered, this,
                [categories, name = name] { categories->SelectCategory(name); });
}

} // namespace skylane
