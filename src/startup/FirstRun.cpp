#include "startup/FirstRun.h"

#include "ProductInfo.h"
#include "core/AppPaths.h"
#include "core/ConfigWriter.h"
#include "core/Files.h"
#include "core/Logging.h"
#include "core/TextFile.h"

#include <QFile>

namespace skylane {

namespace {

// A copy that fails leaves that file missing in the user's folder: the bar
// starts without it, as it would without the original.
void copyFile(const QByteArray &from, const QByteArray &to)
{
    const auto content = files::readRegular(from);
    QString why;
    if (content && !files::replace(to, *content, &why))
        qCWarning(lcFiles).noquote() << "Could not copy" << QFile::decodeName(from) << "to" << QFile::decodeName(to)
                                     << ':' << why;
}

void copyProgramConfig(const AppPaths &paths)
{
    const QByteArray from = paths.programConfigDir();
    for (const QByteArray &name : files::regularFilesIn(from)) {
        if (!files::isLeftoverTemporaryName(name))
            copyFile(from + '/' + name, paths.configDir() + '/' + name);
    }
}

} // namespace

void createFolders(const AppPaths &paths)
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
        if (files::at(picture).kind == files::Kind::Missing)
            copyFile(paths.programConfigFile("1.2.jpg"), picture);
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

bool isLaterRun(const AppPaths &paths, ConfigWriter &writer)
{
    const QByteArray marker = paths.firstRunMarker();
    // Only the existence of a first line matters, never its text. A marker
    // cut to zero bytes has no first line and is written anew.
    if (textfile::firstLineReadable(marker))
        return true;
    // A marker that cannot be written is told by the writer once the bar
    // shows; this start is a first run all the same.
    (void)writer.writeLines(marker, firstRunMarkerLines());
    return false;
}

} // namespace skylane
