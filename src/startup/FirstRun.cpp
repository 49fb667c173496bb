#include "startup/FirstRun.h"

#include "ProductInfo.h"
#include "core/AppPaths.h"
#include "core/Files.h"
#include "core/TextFile.h"


namespace skylane {

void CreateFolders(const AppPaths &paths)
{
    files::makeFolder(paths.configDir());
    files::makeFolder(paths.helpDir());
}

QList<QByteArray> firstRunMarkerLines()
{
    // The first line is the number 1 as the old print statement wrote it:
    // a blank for the sign, the digit, a trailing blank.
    return {QByteArray(" 1 "), QByteArray(product::kMakerName), QByteArray(product::kTitleAndVersion),
            QByteArray(product::kMakerWebAddress)};
}

bool CheckFirstRun(const AppPaths &paths)
{
    const QByteArray marker = paths.firstRunMarker();
    // Only the existence of a first line matters, never its text. A marker
    // cut to zero bytes has no first line and is written anew.
    if (textfile::firstLineReadable(marker))
        return true;
    textfile::writeLines(marker, firstRunMarkerLines());
    return false;
}

} // namespace skylane
