#include "artwork/Artwork.h"

#include <QFile>
#include <QCache>
#include <QImageReader>

#include <cmath>

namespace skylane {

QImage readImageAs(QIODevice *device, const char *format, QSize size)
{
    QImageReader reader(device, format);
    reader.setAutoDetectImageFormat(false);
    if (size.isValid())
        reader.setScaledSize(size);
    return reader.read();
}

QImage readImageAs(const QString &path, const char *format, QSize size)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? readImageAs(&file, format, size) : QImage();
}

QPixmap artwork(const QString &name, QSize size, qreal devicePixelRatio)
{
    // Every picture at every size the program shows fits many times over;
    // the bound only stops a run that meets screen after screen of another
    // scale from keeping each set it ever drew.
    constexpr int kDrawnLimit = 256;
    static QCache<QString, QPixmap> drawn(kDrawnLimit);
    const QSize pixels(int(std::lround(size.width() * devicePixelRatio)),
                       int(std::lround(size.height() * devicePixelRatio)));
    const QString key = QStringLiteral("%1@%2x%3").arg(name).arg(pixels.width()).arg(pixels.height());
    if (const QPixmap *known = drawn.object(key))
        return *known;
    QImage image = readImageAs(QStringLiteral(":/artwork/%1.png").arg(key), "png");
    if (image.isNull())
        image = readImageAs(QStringLiteral(":/icons/%1.svg").arg(name), "svg", pixels);
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    drawn.insert(key, new QPixmap(pixmap));
    return pixmap;
}

QIcon artworkIcon(const QString &name, QSize size)
{
    QIcon icon;
    for (qreal scale : {1.0, 2.0})
        icon.addPixmap(artwork(name, size, scale));
    return icon;
}

} // namespace skylane
