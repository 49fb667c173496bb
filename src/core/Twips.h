#pragma once

#include <QRect>
#include <QWidget>

namespace skylane {

// Positions and sizes are kept in twips (1/1440 inch) and converted to
// logical pixels only where a widget is placed. Keeping the twips as the
// source of truth means a hundred adds and removes cannot drift by rounding.
inline constexpr int kTwipsPerPixel = 15;

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    friend bool operator==(const TwipsRect &, const TwipsRect &) = default;
};

// Rounded to the nearest pixel and clamped, so that a wild value read from a
// file can never overflow an int coordinate.
int twipsToPixels(double twips);
double pixelsToTwips(int pixels);
QRect twipsToPixels(const TwipsRect &r);

// Places a control at a rectangle given in twips and remembers the twips,
// so that later reads give back exactly what was set.
void setTwipsGeometry(QWidget *control, const TwipsRect &r);
TwipsRect twipsGeometry(const QWidget *control);

} // namespace skylane
