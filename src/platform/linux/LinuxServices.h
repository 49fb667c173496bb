#pragma once

#include "platform/Services.h"

namespace skylane {

class DesktopShellOpener final : public ShellOpener {
public:
    void open(const QString &fileOrAddress) override;
};

} // namespace skylane
