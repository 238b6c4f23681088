#pragma once

#include <QImage>
#include <QString>

namespace kalmor {

// The picture of a desk element kind (signals, buttons, controllers, the
// counter, the key lock, the lit indications): 47 x 47, RGB32, white where
// nothing is drawn. Every part is a flat fill inside a one-pixel black
// outline. A _P kind is its _L kind mirrored left to right. A null image
// for any other name.
QImage drawDeskPicture(const QString &name);

}  // namespace kalmor
