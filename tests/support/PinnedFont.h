#pragma once

// The widget suites measure captions, so they run with one known face:
// the one the program puts in Tahoma's place, or Tahoma where installed.
#include "view/DesignFont.h"

#include <QTest>

namespace kalmor {

inline void pinDesignFont()
{
    useDesignFontFallback();
    const QString face = designFontFace();
    QVERIFY2(face == u"Tahoma" || face == u"DejaVu Sans", qPrintable(face));
}

}  // namespace kalmor
