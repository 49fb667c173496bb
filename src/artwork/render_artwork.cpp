// Build step: renders each SVG picture of the program into PNG files at the
// sizes it is shown, once for each scale factor, so that the program reads
// ready pixels instead of loading an SVG renderer.
//   render_artwork <svg folder> <output folder> <percent>,... <name>:<width>x<height>...
// writes <output folder>/<name>@<w>x<h>.png for each scale, the size times
// the scale rounded to the nearest pixel.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fputs("usage: render_artwork <svg folder> <output folder> <percent>,... <name>:<w>x<h>...\n", stderr);
        return 2;
    }
    QList<int> percents;
    for (const QString &percent : args[3].split(u',')) {
        percents.append(percent.toInt());
        if (percents.last() <= 0) {
            std::fprintf(stderr, "render_artwork: no scale %s\n", qPrintable(percent));
            return 2;
        }
    }
    static const QRegularExpression job(QStringLiteral("^([\\w-]+):(\\d+)x(\\d+)$"));
    for (const QString &arg : args.mid(4)) {
        const QRegularExpressionMatch m = job.match(arg);
        QSvgRenderer svg(args[1] + u'/' + m.captured(1) + QStringLiteral(".svg"));
        if (!m.hasMatch() || !svg.isValid()) {
            std::fprintf(stderr, "render_artwork: cannot render %s\n", qPrintable(arg));
            return 1;
        }
        for (int percent : percents) {
            QImage image((m.captured(2).toInt() * percent + 50) / 100, (m.captured(3).toInt() * percent + 50) / 100,
                         QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            svg.render(&painter);
            painter.end();
            const QString out = QStringLiteral("%1/%2@%3x%4.png")
                                    .arg(args[2], m.captured(1))
                                    .arg(image.width())
                                    .arg(image.height());
            if (!image.save(out, "png")) {
                std::fprintf(stderr, "render_artwork: cannot write %s\n", qPrintable(out));
                return 1;
            }
        }
    }
    return 0;
}
