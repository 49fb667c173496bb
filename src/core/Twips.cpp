#include "core/Twips.h"

#include <algorithm>
#include <cmath>

namespace skylane {

namespace {
constexpr double kPixelLimit = 1 << 24;
constexpr char kTwipsProperty[] = "skylaneTwips";
} // namespace

int twipsToPixels(double twips)
{
    if (!std::isfinite(twips))
        return 0;
    const double px = std::round(twips / kTwipsPerPixel);
    return static_cast<int>(std::clamp(px, -kPixelLimit, kPixelLimit));
}

double pixelsToTwips(int pixels)
{
    return static_cast<double>(pixels) * kTwipsPerPixel;
}

QRect twipsToPixels(const TwipsRect &r)
{
    const int left = twipsToPixels(r.left);
    const int top = twipsToPixels(r.top);
    // Edges are rounded, not sizes, so neighbours 20 twips apart stay apart.
    return QRect(left, top, twipsToPixels(r.left + r.width) - left,
                 twipsToPixels(r.top + r.height) - top);
}

void setTwipsGeometry(QWidget *control, const TwipsRect &r)
{
    control->setProperty(kTwipsProperty, QRect(r.left, r.top, r.width, r.height));
    control->setGeometry(twipsToPixels(r));
}

TwipsRect twipsGeometry(const QWidget *control)
{
    const QVariant v = control->property(kTwipsProperty);
    if (!v.isValid()) {
        const QRect g = control->geometry();
        return {g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel, g.width() * kTwipsPerPixel,
                g.height() * kTwipsPerPixel};
    }
    const QRect t = v.toRect();
    return {t.x(), t.y(), t.width(), t.height()};
}

} // namespace skylane
