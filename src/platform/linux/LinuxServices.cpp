#include "platform/linux/LinuxServices.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace skylane {

void DesktopShellOpener::open(const QString &fileOrAddress)
{
    const QUrl url = QFileInfo(fileOrAddress).isAbsolute() ? QUrl::fromLocalFile(fileOrAddress)
                                                           : QUrl(fileOrAddress);
    QDesktopServices::openUrl(url);
}

} // namespace skylane
