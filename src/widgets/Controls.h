#pragma once

#include "core/ColorValue.h"

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace skylane {

// A font of the program's windows: the face by name (a missing face falls to
// its substitutes), the size in points, bold or regular.
QFont makeFont(const char *family, double points, bool bold);

// A picture control: shows an icon either stretched to its rectangle or at
// the icon's own size from the top-left corner, and reports mouse presses,
// releases and clicks (press and release of the left button inside it).
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(int index, QSize naturalSize, bool stretch, QWidget *parent);

    int index() const { return m_index; }
    // The name of the program's picture it shows (empty: none).
    void setPicture(const QString &picture);
    const QString &picture() const { return m_picture; }
    // True when its clicks or releases are wired to an action.
    bool actsOnClick() const;

signals:
    void mousePressed(int index, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void mouseReleased(int index, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void clicked(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_index;
    QSize m_naturalSize;
    bool m_stretch;
    bool m_leftDown = false;
    QString m_picture;
};

// A text label with a transparent background whose text colour is a colour
// value (plain or system), resolved only when painted.
class ColorLabel : public QLabel {
    Q_OBJECT
public:
    ColorLabel(const QString &text, ColorValue foreColor, const SystemColors &scheme, QWidget *parent);

    ColorValue foreColor() const { return m_foreColor; }
    void setForeColor(ColorValue color);
    // Re-resolves a system colour after the desktop's scheme changed.
    void refreshColors();

    void setCaption(const QString &text) { setText(text); }

signals:
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const SystemColors &m_scheme;
    ColorValue m_foreColor;
};

// A program button of the row: a picture, no caption, a program path kept
// as the bytes of its line. It never takes the keyboard focus and acts only
// on mouse releases, so a keyboard cannot trigger it.
class ProgramButton : public QPushButton {
    Q_OBJECT
public:
    ProgramButton(int index, QWidget *parent);

    // Its place in the row, which its reports carry.
    int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }
    // Shows a program's path as the tooltip and the accessible description
    // (decoded for display only); the accessible name is the file's name
    // until the desktop's name for the program is given.
    void setProgramPath(const QByteArray &path);
    // True while one of this button's own events is being handled, when it
    // must not be destroyed at once.
    bool isHandlingEvent() const { return m_eventDepth > 0; }

signals:
    void mouseReleased(int index, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    int m_index;
    int m_eventDepth = 0;
};

} // namespace skylane
