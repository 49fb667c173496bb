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
#include "buttons/CategorySelector.h"
#include "shutdown/Shutdown.h"
#include "startup/Splash.h"

#include <QAction>

namespace skylane {

SkyLaneApp::SkyLaneApp(std::unique_ptr<Platform> platform, AppPaths paths)
    : m_platform(std::move(platform)), m_paths(std::move(paths)),
      m_bar(std::make_unique<BarWindow>(*m_platform))
{
    wireButtonRow();
    wireButtonActions();
    wireStartup();
    wirePlacement();
    wireAppearance();
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

void SkyLaneApp::wireStartup()
{
    m_splash = std::make_unique<Splash>(*m_platform, m_paths);
    connect(m_splash.get(), &Splash::barRequested, this, &SkyLaneApp::showBar);
}

void SkyLaneApp::wirePlacement()
{
    m_statusLight = std::make_unique<StatusLight>(*m_bar, *m_platform->windows);
    connect(m_statusLight.get(), &StatusLight::restoreWindowRequested, this,
            [this] { restoreWindow().showEntry(); });
    m_placement = std::make_unique<BarPlacement>(*m_bar, *m_platform->windows, m_paths);
    m_popupMenu = std::make_unique<PopupMenu>(*m_bar);
    connect(m_popupMenu.get(), &PopupMenu::aboutRequested, this, &SkyLaneApp::showSplash);
}

RestoreWindow &SkyLaneApp::restoreWindow()
{
    if (!m_restoreWindow)
        m_restoreWindow = std::make_unique<RestoreWindow>(*m_bar);
    return *m_restoreWindow;
}

void SkyLaneApp::wireAppearance()
{
    m_appearance = std::make_unique<Appearance>(*m_bar, m_paths);
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
    connect(m_bar.get(), &BarWindow::menusCreated, this, [this, categories](const BarMenus &menus) {
        for (const auto &[action, name] : typeMenuCommands(menus))
            connect(action, &QAction::triggered, this,
                    [categories, name = name] { categories->SelectCategory(name); });
    });
}

void SkyLaneApp::wireButtonActions()
{
    m_buttonActions = std::make_unique<ButtonActions>(
        *m_bar, m_paths, ButtonActions::Services{*m_platform->launcher, *m_platform->dialogs, *m_platform->icons},
        [this] { showExitDialog(); });
    m_buttonAdder = std::make_unique<ButtonAdder>(*m_bar, m_paths);
    m_buttonDrops = std::make_unique<ButtonDrops>(*m_bar, *m_buttonActions, *m_buttonAdder, *m_platform->launcher);
    ButtonActions *actions = m_buttonActions.get();
    const auto wire = [this, actions](ProgramButton *button) {
        connect(button, &ProgramButton::mouseReleased, this,
                [actions](int index, Qt::MouseButton mouse) { actions->Command2_MouseUp(index, mouse); });
    };
    // Button 1 exists from the start; the others come and go with each build.
    wire(m_bar->Command2(1));
    connect(m_bar.get(), &BarWindow::command2Loaded, this, wire);
    ButtonAdder *adder = m_buttonAdder.get();
    for (PictureBox *image : m_bar->adderImages())
        connect(image, &PictureBox::mouseReleased, this,
                [adder](int index, Qt::MouseButton mouse) { adder->Image1_MouseUp(index, mouse); });
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
