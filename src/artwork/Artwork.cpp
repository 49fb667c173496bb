#include "artwork/Artwork.h"

#include <QDir>
#include <QFile>
#include <QCache>
#include <QImageReader>
#include <QRegularExpression>

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

#ifdef Q_OS_WIN
namespace {

// The ready rendering that serves `pixels` best: the smallest that is at
// least as large, else the largest there is.
QString nearestRendering(const QString &name, QSize pixels)
{
    static const QRegularExpression sizeOf(QStringLiteral("@(\\d+)x(\\d+)\\.png$"));
    QString best;
    QSize bestSize;
    const QDir folder(QStringLiteral(":/artwork"));
    for (const QString &file : folder.entryList({name + QStringLiteral("@*.png")}, QDir::Files)) {
        const QRegularExpressionMatch m = sizeOf.match(file);
        const QSize size(m.captured(1).toInt(), m.captured(2).toInt());
        const bool covers = size.width() >= pixels.width() && size.height() >= pixels.height();
        const bool bestCovers = bestSize.width() >= pixels.width() && bestSize.height() >= pixels.height();
        if (best.isEmpty() || (covers && (!bestCovers || size.width() < bestSize.width()))
            || (!covers && !bestCovers && size.width() > bestSize.width())) {
            best = folder.filePath(file);
            bestSize = size;
        }
    }
    return best;
}

} // namespace
#endif

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
#ifdef Q_OS_WIN
    // No SVG reader ships with the Windows program.
    if (image.isNull())
        image = readImageAs(nearestRendering(name, pixels), "png", pixels);
#else
    if (image.isNull())
        image = readImageAs(QStringLiteral(":/icons/%1.svg").arg(name), "svg", pixels);
#endif
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
