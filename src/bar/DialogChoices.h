#pragma once

#include "core/ColorValue.h"

#include <QObject>
#include <QString>

class QWidget;

namespace skylane {

class Dialogs;

// The file-open, colour and font dialogs of the bar as one object, shared
// by their commands. It keeps the values between uses: the preset or chosen
// file name, the folder to start in, and the colour and face name confirmed
// last. Cancel changes none of them.
class DialogChoices : public QObject {
    Q_OBJECT
public:
    DialogChoices(Dialogs &dialogs, QWidget *owner);

    const QString &fileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    const QString &initialFolder() const { return m_initDir; }
    void setInitialFolder(const QString &dir) { m_initDir = dir; }
    ColorValue color() const { return m_color; }
    void setColor(ColorValue color) { m_color = color; }
    const QString &fontName() const { return m_fontName; }
    void setFontName(const QString &face) { m_fontName = face; }

    void chooseFile();
    void chooseColor();
    void chooseFont();

private:
    Dialogs &m_dialogs;
    QWidget *m_owner;
    QString m_fileName;
    QString m_initDir;
    ColorValue m_color = 0; // black until a colour is confirmed
    QString m_fontName;
};

} // namespace skylane
