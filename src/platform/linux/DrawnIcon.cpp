#include "platform/linux/DrawnIcon.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSvgRenderer>

#include <cmath>

namespace skylane {

namespace {

// Drawn as Qt's SVG icon engine draws: the drawing's own proportions kept
// inside the size, on a transparent picture.
QPixmap draw(QSvgRenderer &drawing, const QSize &size)
{
    QSize drawn = drawing.defaultSize();
    if (!drawn.isNull())
        drawn.scale(size, Qt::KeepAspectRatio);
    if (drawn.isEmpty())
        return {};
    QImage picture(drawn, QImage::Format_ARGB32_Premultiplied);
    picture.fill(0);
    QPainter painter(&picture);
    drawing.render(&painter);
    painter.end();
    return QPixmap::fromImage(picture);
}

class DrawnIconEngine final : public QIconEngine {
public:
    DrawnIconEngine(const QString &file, QSvgRenderer &drawing, const QList<QSize> &sizes) : m_file(file)
    {
        for (const QSize &size : sizes)
            addDrawing(drawing, size);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        if (!m_sizes.contains(size)) {
            QSvgRenderer drawing(m_file);
            addDrawing(drawing, size);
        }
        // At a scale of 1: `size` is already in device pixels, and the
        // plain overload would multiply it by the screens' scale again.
        return m_drawn.pixmap(size, 1.0, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device()->devicePixelRatio();
        QPixmap picture = pixmap((QSizeF(rect.size()) * scale).toSize(), mode, state);
        picture.setDevicePixelRatio(scale);
        painter->drawPixmap(rect, picture);
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_drawn.actualSize(size, mode, state);
    }

    QIconEngine *clone() const override { return new DrawnIconEngine(*this); }

private:
    void addDrawing(QSvgRenderer &drawing, const QSize &size)
    {
        m_sizes.append(size);
        if (const QPixmap picture = draw(drawing, size); !picture.isNull())
            m_drawn.addPixmap(picture);
    }

    QString m_file;
    QList<QSize> m_sizes; // asked for so far
    QIcon m_drawn; // the pictures drawn so far
};

} // namespace

QIcon drawnIcon(const QString &file)
{
    QSvgRenderer drawing(file);
    if (!drawing.isValid())
        return {};
    QList<QSize> sizes{QSize(16, 16), QSize(32, 32)};
    for (const QScreen *screen : QGuiApplication::screens()) {
        const int pixels = int(std::lround(16 * screen->devicePixelRatio()));
        if (!sizes.contains(QSize(pixels, pixels)))
            sizes.append(QSize(pixels, pixels));
    }
    return QIcon(new DrawnIconEngine(file, drawing, sizes));
}

} // namespace skylane
