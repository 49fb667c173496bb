#pragma once

#include "platform/AppPaths.h"
#include "platform/Platform.h"

#include <QObject>

#include <memory>

namespace skylane {

class BarBuilder;
class BarWindow;
class CategorySelector;

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

    BarWindow &bar() { return *m_bar; }
    Platform &platform() { return *m_platform; }
    const AppPaths &paths() const { return m_paths; }

private:
    void loadBar();
    void wireButtonRow();

    std::unique_ptr<Platform> m_platform;
    AppPaths m_paths;
    std::unique_ptr<BarWindow> m_bar;
    std::unique_ptr<BarBuilder> m_barBuilder;
    std::unique_ptr<CategorySelector> m_categories;
    bool m_barLoaded = false;
};

} // namespace skylane
