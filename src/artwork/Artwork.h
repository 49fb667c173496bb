#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

class QIODevice;

namespace skylane {

// Reads an image with the one reader of `format`, scaled to `size` when
// given. No reader probes the file: asking every image plugin whether it
// knows it would load them all.
QImage readImageAs(QIODevice *device, const char *format, QSize size = {});
QImage readImageAs(const QString &path, const char *format, QSize size = {});

// The program's own pictures, each drawn once for the size it is shown at
// and the screen's scale, then kept for the run. Ready pixels built with
// the program serve scales 1 and 2 (on Windows every scale from 100 % to
// 300 %); any other scale renders the SVG once, and only then is an SVG
// reader loaded. Windows has no SVG reader: there the nearest larger
// rendering is scaled down.
QPixmap artwork(const QString &name, QSize size, qreal devicePixelRatio);

// A picture as an icon of the given size at scales 1 and 2: a window icon
// or a small program icon, without an SVG reader.
QIcon artworkIcon(const QString &name, QSize size);

} // namespace skylane
