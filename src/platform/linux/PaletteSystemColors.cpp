#include "platform/linux/PaletteSystemColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace skylane {

namespace {
QColor blend(const QColor &a, const QColor &b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}
} // namespace

QColor PaletteSystemColors::systemColor(int index) const
{
    const QPalette p = QGuiApplication::palette();
    const auto active = [&p](QPalette::ColorRole r) { return p.color(QPalette::Active, r); };
    switch (index) {
    case 0:  return active(QPalette::Button);            // scroll bar
    case 1:  return active(QPalette::Highlight).darker(160); // desktop
    case 2:  return active(QPalette::Highlight);         // active title bar
    case 3:  return blend(p.color(QPalette::Inactive, QPalette::Highlight), active(QPalette::Window)); // inactive title bar
    case 4:  return active(QPalette::Window);            // menu
    case 5:  return active(QPalette::Base);              // window
    case 6:  return active(QPalette::Shadow);            // window frame
    case 7:  return active(QPalette::WindowText);        // menu text
    case 8:  return active(QPalette::Text);              // window text
    case 9:  return active(QPalette::HighlightedText);   // caption text
    case 10: case 11: return active(QPalette::Mid);      // borders
    case 12: return active(QPalette::Dark);              // application workspace
    case 13: return active(QPalette::Highlight);         // selected items
    case 14: return active(QPalette::HighlightedText);   // text of selected items
    case 15: return active(QPalette::Button);            // button face
    case 16: return active(QPalette::Dark);              // button shadow
    case 17: return p.color(QPalette::Disabled, QPalette::Text); // grey text
    case 18: return active(QPalette::ButtonText);        // button text
    case 19: return p.color(QPalette::Inactive, QPalette::WindowText); // inactive caption text
    case 20: return active(QPalette::Light);             // button highlight
    case 21: return active(QPalette::Shadow);            // 3-D dark shadow
    case 22: return active(QPalette::Midlight);          // 3-D light
    case 23: return active(QPalette::ToolTipText);       // tooltip text
    case 24: return active(QPalette::ToolTipBase);       // tooltip background
    case 26: return active(QPalette::Link);              // hot-tracked item
    case 27: return active(QPalette::Highlight);         // gradient of active title bar
    case 28: return blend(p.color(QPalette::Inactive, QPalette::Highlight), active(QPalette::Window));
    case 29: return active(QPalette::Highlight);         // menu highlight
    case 30: return active(QPalette::Window);            // menu bar
    default: return QColor(Qt::black);
    }
}

} // namespace skylane
