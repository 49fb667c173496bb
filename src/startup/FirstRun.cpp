#include "startup/FirstRun.h"

#include "ProductInfo.h"
#include "core/AppPaths.h"
#include "core/ConfigWriter.h"
#include "core/Files.h"
#include "core/TextFile.h"


namespace skylane {

namespace {

void copyProgramConfig(const AppPaths &paths)
{
    const QByteArray from = paths.programConfigDir();
    for (const QByteArray &name : files::regularFilesIn(from)) {
        if (files::isLeftoverTemporaryName(name))
            continue;
        if (const auto content = files::readRegular(from + '/' + name))
            files::replace(paths.configDir() + '/' + name, *content);
    }
}

} // namespace

void CreateFolders(const AppPaths &paths)
{
    const QByteArray config = paths.configDir();
    if (paths.keepsConfigApart()) {
        // The user's own place, with the folders above it, and the
        // blank-button picture from the program folder unless one is there.
        for (qsizetype slash = config.indexOf('/', 1); slash > 0; slash = config.indexOf('/', slash + 1))
            files::makeFolder(config.left(slash));
        if (files::at(config).kind == files::Kind::Missing && files::makeFolder(config))
            copyProgramConfig(paths);
        const QByteArray picture = paths.blankButtonPicture();
        if (files::at(picture).kind == files::Kind::Missing) {
            if (const auto content = files::readRegular(paths.programConfigFile("1.2.jpg")))
                files::replace(picture, *content);
        }
    } else {
        files::makeFolder(config);
    }
    files::makeFolder(paths.helpDir());
}

QList<QByteArray> firstRunMarkerLines()
{
    // The first line is the number 1 as the old print statement wrote it:
    // a blank for the sign, the digit, a trailing blank.
    return {QByteArray(" 1 "), QByteArray(product::kMakerName), QByteArray(product::kTitleAndVersion),
            QByteArray(product::kMakerWebAddress)};
}

bool CheckFirstRun(const AppPaths &paths, ConfigWriter &writer)
{
    const QByteArray marker = paths.firstRunMarker();
    // Only the existence of a first line matters, never its text. A marker
    // cut to zero bytes has no first line and is written anew.
    if (textfile::firstLineReadable(marker))
        return true;
    writer.writeLines(marker, firstRunMarkerLines());
    return false;
}

} // namespace skylane
