#pragma once

#include "core/AppPaths.h"
#include "buttons/BarModel.h"
#include "core/ConfigWriter.h"
#include "platform/Platform.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QTimer;

namespace skylane {

class ButtonActions;
class ButtonAdder;
class ButtonDrops;
class ButtonMover;
class BarWindow;
class ButtonRow;
class CategorySelector;
class CategoryStore;
class Appearance;
class BarPlacement;
class PopupMenu;
class RestoreWindow;
class SaveFailureNotice;
class Splash;
class StatusLight;
class Shutdown;

// The composition root: owns the platform services, the windows and the
// subsystems, and builds each subsystem with the controls and services it
// works on. Each subsystem connects the controls it owns to its own
// handlers; here only the requests one subsystem makes of another are
// passed on (the start-up window asks for the bar, the status light for the
// restore window, the menu's "About" for the start-up window, a button of
// the "Exit" category for the exit dialog).
class SkyLaneApp : public QObject {
    Q_OBJECT
public:
    SkyLaneApp(std::unique_ptr<Platform> platform, AppPaths paths);
    ~SkyLaneApp() override;

    // The program's first step: the start-up window's load step (folders,
    // first-run marker), which loads and shows the bar; the start-up window
    // itself is built and shown once the bar has painted, so the bar's
    // start carries none of its cost.
    void start();

    // Shows the start-up window (the "About" entry): built and loaded afresh
    // when it was closed, else only brought forward.
    void showSplash();

    // Shows the bar without waiting; the first time this runs its load
    // sequence (settings, top layer, button row) before it is shown.
    void showBar();

    // Shows the exit dialog, not modal and without an owner; while it is
    // open another request only brings it forward, keeping its selection.
    void showExitDialog();
    // The exit dialog, or nullptr before it was first asked for.
    Shutdown *exitDialog() const { return m_exitDialog.get(); }
    bool exitDialogShown() const;

    BarWindow &bar() { return *m_bar; }
    BarModel &model() { return m_model; }
    ButtonRow &row() { return *m_row; }
    CategoryStore &categoryStore() { return *m_categoryStore; }
    const AppPaths &paths() const { return m_paths; }

    // The start-up window while it is shown (closing destroys it), else
    // nullptr.
    Splash *splash() const;
    // Created when first asked for: it has no part in the bar at start.
    RestoreWindow &restoreWindow();
    ConfigWriter &configWriter() { return m_writer; }
    SaveFailureNotice &saveFailures() { return *m_saveFailures; }
    StatusLight &statusLight() { return *m_statusLight; }

private:
    void loadBar();
    Splash *createSplash(QTimer *timer1);
    void openStartupWindow(QTimer *timer1);
    void createButtonRow();
    void createBarControls();
    void createExitDialog();

    std::unique_ptr<Platform> m_platform;
    AppPaths m_paths;
    ConfigWriter m_writer;
    BarModel m_model;
    std::unique_ptr<BarWindow> m_bar;
    ButtonRow *m_row = nullptr; // a child of the bar window, which owns it
    CategoryStore *m_categoryStore = nullptr; // a child of the model, which owns it
    std::unique_ptr<SaveFailureNotice> m_saveFailures;
    std::unique_ptr<CategorySelector> m_categories;
    std::unique_ptr<ButtonActions> m_buttonActions;
    std::unique_ptr<ButtonAdder> m_buttonAdder;
    std::unique_ptr<ButtonDrops> m_buttonDrops;
    std::unique_ptr<ButtonMover> m_buttonMover;
    bool m_barLoaded = false;

    // Start-up window, stacking and placement, appearance.
    QPointer<Splash> m_splash;
    bool m_startupWindowDue = false; // its two seconds ran out before it was built
    std::unique_ptr<RestoreWindow> m_restoreWindow;
    std::unique_ptr<StatusLight> m_statusLight;
    std::unique_ptr<BarPlacement> m_placement;
    std::unique_ptr<PopupMenu> m_popupMenu;
    std::unique_ptr<Appearance> m_appearance;
    std::unique_ptr<Shutdown> m_exitDialog;
};

} // namespace skylane
