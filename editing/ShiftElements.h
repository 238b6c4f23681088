#pragma once

#include <QtGlobal>

namespace kalmor {

class StationDocument;
class UserPrompts;

// Moves every track tile by (dx, dy) cells after checking that all of them
// stay within columns 0 .. appliedColumns - 1 and rows 0 .. appliedRows - 1.
// If one would leave the panel, the user is told and nothing moves. Lamps
// and label plates stay. A shift that moved at least one tile marks the
// document modified, so it is never lost without the question.
// Returns false when refused.
bool shiftAllElements(StationDocument &doc, qint32 dx, qint32 dy, qint32 appliedColumns,
                      qint32 appliedRows, UserPrompts &prompts);

}  // namespace kalmor
