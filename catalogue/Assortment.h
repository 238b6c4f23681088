#pragma once

#include "catalogue/ElementKinds.h"

#include <QPoint>
#include <QString>

#include <span>
#include <vector>

namespace kalmor {

// One tab page of an assortment (docked in the main window or in the
// palette window). Pages without kinds have no first kind and no frame.
struct AssortmentPage {
    const char *objectName;
    QString caption;
    const char *firstKind;   // nullptr on an empty page
    const char *frameName;   // selection frame's object name, nullptr when none
    std::vector<const KindInfo *> kinds;  // in the order they stand
};

// The nine pages of the main window and the eight of the palette, in tab order.
std::span<const AssortmentPage> mainPages();
std::span<const AssortmentPage> palettePages();

// Index of a page by object name, or -1.
int mainPageIndex(QStringView objectName);
int palettePageIndex(QStringView objectName);

// Top-left corner of a kind's 47 x 47 image control on its page.
QPoint mainImagePosition(const KindInfo &kind);
QPoint paletteImagePosition(const KindInfo &kind);

inline constexpr int ImageSize = 47;
inline constexpr int ImageSpacing = 54;
inline constexpr int FirstImageLeft = 7;
inline constexpr int FirstImageTop = 7;
inline constexpr int PaletteRowSpacing = 56;
// The selection frame is a 55 x 55 outline standing 4 pixels up and left
// of the chosen image.
inline constexpr int FrameSize = 55;
inline constexpr int FrameInset = 4;
inline constexpr int FramePen = 4;

// Where each main-window selection frame stands at start and after a page change.
inline constexpr int MainFrameResetLeft = 3;

}  // namespace kalmor
