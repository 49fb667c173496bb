#include "buttons/ProgramIcon.h"

#include "artwork/Artwork.h"
#include "core/AppPaths.h"
#include "core/Files.h"
#include "platform/Services.h"
#include "widgets/Controls.h"

#include <QBuffer>
#include <QPixmap>

namespace skylane {

void showProgram(ProgramButton &button, ProgramIcons &icons, const QByteArray &programPath)
{
    bool found = false;
    button.setIcon(icons.smallIcon(programPath, found));
    button.setProgramPath(programPath);
    if (!programPath.isEmpty())
        button.setAccessibleName(icons.programName(programPath));
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
