#pragma once

#include <QtGlobal>

namespace kalmor {

class StationHistory;
class UserPrompts;

// What shift all elements moves: every element list and the areas, or the
// track tiles alone ("Jen koleje"), lamps, label plates, desk elements and
// areas staying where they are.
enum class ShiftScope { AllElements, TrackOnly };

// Moves every record of the lists the scope names by (dx, dy) cells after
// checking that all of them stay within columns 0 .. appliedColumns - 1
// and rows 0 .. appliedRows - 1. If one would leave the panel, the user is
// told and nothing moves. A shift that moved at least one record marks
// the document modified, so it is never lost without the question, and is
// one step of the history; a refused shift or one that moves nothing is
// none. Returns false when refused.
bool shiftAllElements(StationHistory &history, qint32 dx, qint32 dy, qint32 appliedColumns,
                      qint32 appliedRows, UserPrompts &prompts, ShiftScope scope = ShiftScope::AllElements);

}  // namespace kalmor
