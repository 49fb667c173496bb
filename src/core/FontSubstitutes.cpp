#include "core/FontSubstitutes.h"

#include <QFont>
#include <QStringList>

namespace skylane {

void installFontSubstitutes()
{
    struct Substitute {
        const char *family;
        QStringList lookAlikes;
    };
    const Substitute table[] = {
        {"MS Serif", {"Liberation Serif", "DejaVu Serif", "Times New Roman"}},
        {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
        {"Arial", {"Liberation Sans", "DejaVu Sans"}},
        {"Arial Narrow", {"Liberation Sans Narrow", "DejaVu Sans Condensed", "DejaVu Sans"}},
        {"Arial Black", {"DejaVu Sans", "Liberation Sans"}},
        {"Century Gothic", {"URW Gothic", "TeX Gyre Adventor", "DejaVu Sans"}},
    };
    for (const Substitute &s : table)
        QFont::insertSubstitutions(QString::fromLatin1(s.family), s.lookAlikes);
}

} // namespace skylane
