#pragma once

#include <QImage>

namespace kalmor {

// The start-up picture: a monochrome, photograph-like view of a relay
// interlocking control panel, 377 x 254 pixels.
QImage drawStarterPicture();

}  // namespace kalmor
