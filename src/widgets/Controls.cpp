#include "widgets/Controls.h"

#include "artwork/Artwork.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

namespace skylane {

QFont makeFont(const char *family, double points, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

PictureBox::PictureBox(int index, QSize naturalSize, bool stretch, QWidget *parent)
    : QWidget(parent), m_index(index), m_naturalSize(naturalSize), m_stretch(stretch)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
}

void PictureBox::setPicture(const QString &picture)
{
    m_picture = picture;
    update();
}

bool PictureBox::actsOnClick() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&PictureBox::clicked))
           || isSignalConnected(QMetaMethod::fromSignal(&PictureBox::mouseReleased));
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    const QSize size = m_stretch ? this->size() : m_naturalSize;
    painter.drawPixmap(QPoint(0, 0), artwork(m_picture, size, devicePixelRatioF()));
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_leftDown = true;
    emit mousePressed(m_index, event->button(), event->modifiers(), event->position().toPoint());
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = event->button() == Qt::LeftButton && m_leftDown
                       && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_leftDown = false;
    emit mouseReleased(m_index, event->button(), event->modifiers(), event->position().toPoint());
    if (click)
        emit clicked(m_index);
}

ColorLabel::ColorLabel(const QString &text, ColorValue foreColor, const SystemColors &scheme,
                       QWidget *parent)
    : QLabel(text, parent), m_scheme(scheme), m_foreColor(foreColor)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setContentsMargins(0, 0, 0, 0);
    setIndent(0);
    refreshColors();
}

void ColorLabel::setForeColor(ColorValue color)
{
    m_foreColor = color;
    refreshColors();
}

void ColorLabel::refreshColors()
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, resolveColor(m_foreColor, m_scheme));
    setPalette(pal);
}


void ColorLabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseReleased(event->button(), event->modifiers(), event->position().toPoint());
}

ProgramButton::ProgramButton(int index, QWidget *parent) : QPushButton(parent), m_index(index)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
    setIconSize(QSize(16, 16));
}

void ProgramButton::setProgramPath(const QByteArray &path)
{
    const QString text = QString::fromLocal8Bit(path);
    setToolTip(text);
    setAccessibleDescription(text);
    setAccessibleName(path.isEmpty() ? tr("Blank button") : QFileInfo(text).fileName());
}

bool ProgramButton::event(QEvent *event)
{
    // The deferred deletion destroys this button within the call.
    if (event->type() == QEvent::DeferredDelete)
        return QPushButton::event(event);
    ++m_eventDepth;
    const bool handled = QPushButton::event(event);
    --m_eventDepth;
    return handled;
}

void ProgramButton::mousePressEvent(QMouseEvent *event)
{
    // Every button's release is reported, so every press is taken here
    // rather than passed on to the bar.
    if (event->button() == Qt::LeftButton)
        QPushButton::mousePressEvent(event);
    else
        event->accept();
}

void ProgramButton::mouseReleaseEvent(QMouseEvent *event)
{
    // Let the button draw itself released, then report the release. The
    // handler may destroy this button, so nothing touches it afterwards.
    if (event->button() == Qt::LeftButton)
        QPushButton::mouseReleaseEvent(event);
    emit mouseReleased(m_index, event->button(), event->modifiers(), event->position().toPoint());
}

void ProgramButton::keyPressEvent(QKeyEvent *event) { event->ignore(); }
void ProgramButton::keyReleaseEvent(QKeyEvent *event) { event->ignore(); }

} // namespace skylane
