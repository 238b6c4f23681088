#pragma once

#include <QString>

namespace kalmor {

// The windows were laid out for Tahoma. Where it is not installed, DejaVu
// Sans stands in for it rather than whatever face the system would pick:
// the captions that did not fit were fitted to that face, and the build's
// dependencies install it. Call once, before the first window is made.
void useDesignFontFallback();

// The face that answers for Tahoma now.
QString designFontFace();

}  // namespace kalmor
