#include "render/SystemColours.h"

#include <QGuiApplication>

namespace kalmor {

namespace {

// The window system's colour indices as palette roles.
QPalette::ColorRole roleOfSystemIndex(int index)
{
    switch (index) {
    case 0:  return QPalette::Button;          // scroll bar
    case 1:  return QPalette::Dark;            // desktop
    case 2:  return QPalette::Highlight;       // active caption
    case 3:  return QPalette::Mid;             // inactive caption
    case 4:  return QPalette::Window;          // menu
    case 5:  return QPalette::Base;            // window
    case 6:  return QPalette::Shadow;          // window frame
    case 7:  return QPalette::WindowText;      // menu text
    case 8:  return QPalette::Text;            // window text
    case 9:  return QPalette::HighlightedText; // caption text
    case 10: return QPalette::Button;          // active border
    case 11: return QPalette::Button;          // inactive border
    case 12: return QPalette::Mid;             // application work space
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;          // button face
    case 16: return QPalette::Dark;            // button shadow
    case 17: return QPalette::PlaceholderText; // grey text
    case 18: return QPalette::ButtonText;
    case 19: return QPalette::Text;            // inactive caption text
    case 20: return QPalette::Light;           // button highlight
    case 21: return QPalette::Shadow;          // 3-D dark shadow
    case 22: return QPalette::Midlight;        // 3-D light
    case 23: return QPalette::ToolTipText;     // info text
    case 24: return QPalette::ToolTipBase;     // info background
    case 26: return QPalette::Link;            // hot light
    case 27: return QPalette::Highlight;       // gradient active caption
    case 28: return QPalette::Mid;             // gradient inactive caption
    case 29: return QPalette::Highlight;       // menu highlight
    case 30: return QPalette::Window;          // menu bar
    default: return QPalette::Window;
    }
}

}  // namespace

QColor toQColor(Colour c, const QPalette &palette)
{
    if (c & 0x80000000u) {
        QColor colour = palette.color(QPalette::Active, roleOfSystemIndex(int(c & 0xFF)));
        colour.setAlpha(255);
        return colour;
    }
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QColor toQColor(Colour c)
{
    return toQColor(c, QGuiApplication::palette());
}

}  // namespace kalmor
