#pragma once

#include "platform/AppPaths.h"
#include "platform/Platform.h"

#include <QObject>

#include <memory>

namespace skylane {

class BarWindow;
class Shutdown;

// The composition root: owns the platform services and the windows, and
// wires each control's events to the handlers of the subsystem that owns
// the behaviour.
class SkyLaneApp : public QObject {
    Q_OBJECT
public:
    SkyLaneApp(std::unique_ptr<Platform> platform, AppPaths paths);
    ~SkyLaneApp() override;

    // The program's first step.
    void start();

    // Shows the bar without waiting; the first time this runs its load
    // sequence (settings, top layer, button row) before it is shown.
    void showBar();

    // Shows the exit dialog, not modal and without an owner; while it is
    // open another request only brings it forward, keeping its selection.
    void showExitDialog();
    // The exit dialog, or nullptr before it was first asked for.
    Shutdown *exitDialog() const { return m_exitDialog.get(); }

    BarWindow &bar() { return *m_bar; }
    Platform &platform() { return *m_platform; }
    const AppPaths &paths() const { return m_paths; }

private:
    void loadBar();
    void createExitDialog();

    std::unique_ptr<Platform> m_platform;
    AppPaths m_paths;
    std::unique_ptr<BarWindow> m_bar;
    bool m_barLoaded = false;
    std::unique_ptr<Shutdown> m_exitDialog;
};

} // namespace skylane
