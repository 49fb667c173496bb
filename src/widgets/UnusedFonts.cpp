#include "widgets/UnusedFonts.h"

// Qt keeps every font engine it made until its cache outgrows a few
// megabytes, and offers no public call to let go of them.
#include <QtGui/private/qfont_p.h>

namespace skylane {

void dropUnusedFontEngines()
{
    QFontCache::instance()->clear();
}

} // namespace skylane
