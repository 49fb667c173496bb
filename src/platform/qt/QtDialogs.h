#pragma once

#include "platform/Dialogs.h"

namespace skylane {

// The dialogs service on Qt's own dialogs (QFileDialog, QColorDialog,
// QFontDialog, QMessageBox), the same on every system.
class QtDialogs final : public Dialogs {
public:
    std::optional<QString> openFile(QWidget *parent, const QString &initialPath,
                                    const QString &fileName) override;
    std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) override;
    std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial) override;
    MessageAnswer askYesNoCancel(QWidget *parent, const QString &text,
                                 const QString &title) override;
};

} // namespace skylane
