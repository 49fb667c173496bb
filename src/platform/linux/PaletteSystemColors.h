#pragma once

#include "core/ColorValue.h"

namespace skylane {

// System colour indices mapped onto the application palette, which follows
// the desktop's colour scheme. Windows has no palette entry for the desktop
// itself, so the desktop colour is a deep shade of the scheme's accent.
class PaletteSystemColors final : public SystemColors {
public:
    QColor systemColor(int index) const override;
};

} // namespace skylane
