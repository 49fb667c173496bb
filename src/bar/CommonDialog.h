#pragma once

#include "core/ColorValue.h"

#include <QObject>
#include <QString>

class QWidget;

namespace skylane {

class Dialogs;

// The one common dialog object of the bar, shared by the file-open, colour
// and font commands. It keeps the values between uses: the preset or chosen
// file name, the folder to start in, and the colour and face name confirmed
// last. Cancel changes none of them.
class CommonDialog : public QObject {
    Q_OBJECT
public:
    CommonDialog(Dialogs &dialogs, QWidget *owner);

    const QString &FileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    const QString &InitDir() const { return m_initDir; }
    void setInitDir(const QString &dir) { m_initDir = dir; }
    ColorValue Color() const { return m_color; }
    void setColor(ColorValue color) { m_color = color; }
    const QString &FontName() const { return m_fontName; }
    void setFontName(const QString &face) { m_fontName = face; }

    void ShowOpen();
    void ShowColor();
    void ShowFont();

private:
    Dialogs &m_dialogs;
    QWidget *m_owner;
    QString m_fileName;
    QString m_initDir;
    ColorValue m_color = 0; // black until a colour is confirmed
    QString m_fontName;
};

} // namespace skylane
