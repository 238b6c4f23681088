#include "editing/ShiftElements.h"

#include "document/StationHistory.h"
#include "document/UserPrompts.h"

namespace kalmor {

bool shiftAllElements(StationHistory &history, qint32 dx, qint32 dy, qint32 appliedColumns,
                      qint32 appliedRows, UserPrompts &prompts)
{
    const ElementList<TPolePanelu> &tiles = history.document().tiles();
    // 64-bit sums: a file may hold any 32-bit cell, so X + dx can pass the
    // 32-bit range; within the panel every result fits again.
    for (const TPolePanelu &t : tiles) {
        const qint64 x = qint64(t.X) + dx;
        const qint64 y = qint64(t.Y) + dy;
        if (x < 0 || x >= appliedColumns || y < 0 || y >= appliedRows) {
            prompts.warn(QStringLiteral("Nelze posunout všechny prvky, některé by se dostaly za okraj panelu"));
            return false;
        }
    }
    const bool areas = !history.document().areas().isEmpty();
    if ((tiles.isEmpty() && !areas) || (dx == 0 && dy == 0))
        return true;
    StationEdit edit(history.document());
    if (!tiles.isEmpty())
        edit.shiftTiles(dx, dy);
    // The areas frame what they framed; one reaching beyond the panel
    // afterwards is a warning of the layout check, not a reason to refuse.
    if (areas)
        edit.shiftAreas(dx, dy);
    edit.markModified();
    history.commit(std::move(edit), QStringLiteral("Posunutí všech prvků"));
    return true;
}

}  // namespace kalmor
