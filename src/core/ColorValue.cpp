#include "core/ColorValue.h"

namespace skylane {

QColor resolveColor(ColorValue v, const SystemColors &scheme)
{
    if (isSystemColor(v))
        return scheme.systemColor(systemColorIndex(v));
    return plainToQColor(v);
}

} // namespace skylane
