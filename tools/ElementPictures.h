#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace kalmor {

inline constexpr QSize TrackPictureSize{47, 47};
inline constexpr QSize LampPictureSize{16, 15};

// The picture of a kind or corner piece, drawn by the drawing rules:
// RGB32, white where nothing is drawn (white is the transparent colour).
// A null image for a name that is neither.
QImage drawElementPicture(const QString &name);

// The 84 kind names followed by the 4 corner-piece names: every picture
// the image set holds.
QStringList elementPictureNames();

}  // namespace kalmor
