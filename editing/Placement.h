#pragma once

#include "catalogue/ElementKinds.h"
#include "document/StationEdit.h"

#include <QString>

#include <array>

namespace kalmor {

// Place is used by the left button and the row fill, remove by the right
// button; other buttons never place.
enum class PlacementMode { Place, Remove };

// What a placement copies into the record it writes, read afresh from the
// editing controls for every call.
struct PlacementInputs {
    QString kind = QStringLiteral("KOL_sLSPS");
    // Checked state of CH_Poloha_LH, _LS, _LD, _SH, _SD, _PH, _PS, _PD.
    std::array<bool, 8> flags{false, true, false, false, false, false, true, false};
    qint32 lampOffsetX = 0;  // SE_ZAR_OdsazeniX
    qint32 lampOffsetY = 0;  // SE_ZAR_OdsazeniY
    QString text;            // Edit1: the text of the next plate or desk element placed
};

// What one placement did to its list.
enum class PlacementResult { Nothing, Appended, Replaced, Removed };

// The single entry that changes an element list from the pointer, through
// the edit of the gesture. The status becomes Modified first, on every
// call, even when nothing is written (a kind without class) or the record
// written equals the old one.
PlacementResult placeElement(StationEdit &edit, qint32 column, qint32 row, PlacementMode mode,
                             const PlacementInputs &inputs);

}  // namespace kalmor
