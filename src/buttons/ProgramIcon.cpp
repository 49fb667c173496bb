#include "buttons/ProgramIcon.h"

#include "platform/AppPaths.h"
#include "platform/Files.h"
#include "platform/Services.h"

#include <QPixmap>

namespace skylane {

QIcon GetProgramIcon(ProgramIcons &icons, const QByteArray &programPath, int sizeSelector, bool &found)
{
    // Only the small icon exists here; the selector stays part of the call
    // so that every caller says which size it means.
    Q_UNUSED(sizeSelector);
    found = false;
    return IconToPicture(icons.smallIcon(programPath, found));
}

QIcon IconToPicture(const QIcon &icon)
{
    return icon.isNull() ? QIcon() : icon;
}

QIcon blankButtonPicture(const AppPaths &paths)
{
    QPixmap picture;
    const auto content = files::readRegular(paths.blankButtonPicture());
    return content && picture.loadFromData(*content) ? QIcon(picture) : QIcon();
}

} // namespace skylane
