#include "buttons/ProgramIcon.h"

#include "artwork/Artwork.h"
#include "core/AppPaths.h"
#include "core/Files.h"
#include "platform/Services.h"
#include "widgets/Controls.h"

#include <QBuffer>
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

void showProgram(ProgramButton &button, ProgramIcons &icons, const QByteArray &programPath)
{
    bool found = false;
    button.setIcon(GetProgramIcon(icons, programPath, kSmallIcon, found));
    button.setProgramPath(programPath);
    if (!programPath.isEmpty())
        button.setAccessibleName(icons.programName(programPath));
}

QIcon IconToPicture(const QIcon &icon)
{
    return icon.isNull() ? QIcon() : icon;
}

QIcon blankButtonPicture(const AppPaths &paths)
{
    // Its bytes come from a regular file only (never a FIFO), then go to the
    // JPEG reader alone.
    const auto content = files::readRegular(paths.blankButtonPicture());
    if (!content)
        return {};
    QBuffer buffer;
    buffer.setData(*content);
    const QImage blank = readImageAs(&buffer, "jpeg");
    return blank.isNull() ? QIcon() : QIcon(QPixmap::fromImage(blank));
}

} // namespace skylane
