#include "ProductInfo.h"
#include "SkyLaneApp.h"
#include "core/FontSubstitutes.h"
#include "widgets/AccessibleControls.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    skylane::keepSessionEnvironment();
    if (!skylane::prepareNativeWindowSystem())
        return 1;
    skylane::beginLibraryWarmUp();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(skylane::product::kProductName));
    // The program ends only through its exit dialog, never because its
    // last visible window was closed.
    QApplication::setQuitOnLastWindowClosed(false);
    skylane::installFontSubstitutes();
    skylane::installAccessibleControls();
    skylane::continueLibraryWarmUp();

    skylane::SkyLaneApp skyLane(skylane::createNativePlatform(),
                                skylane::AppPaths::ofRunningProgram());
    skyLane.start();
    return QApplication::exec();
}
