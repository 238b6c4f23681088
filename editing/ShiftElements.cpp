#include "editing/ShiftElements.h"

#include "document/StationHistory.h"
#include "document/UserPrompts.h"

namespace kalmor {

namespace {

// Whether every record of the list stays on the panel. 64-bit sums: a file
// may hold any 32-bit cell, so X + dx can pass the 32-bit range; within
// the panel every result fits again.
template <class Record>
bool staysOnPanel(const ElementList<Record> &list, qint32 dx, qint32 dy, qint32 columns, qint32 rows)
{
    for (const Record &r : list) {
        const qint64 x = qint64(r.X) + dx;
        const qint64 y = qint64(r.Y) + dy;
        if (x < 0 || x >= columns || y < 0 || y >= rows)
            return false;
    }
    return true;
}

template <class Record>
void shiftList(StationEdit &edit, StationDocument &doc, qint32 dx, qint32 dy)
{
    if (!elementsOf<Record>(doc).isEmpty())
        edit.shift<Record>(dx, dy);
}

}  // namespace

bool shiftAllElements(StationHistory &history, qint32 dx, qint32 dy, qint32 appliedColumns,
                      qint32 appliedRows, UserPrompts &prompts, ShiftScope scope)
{
    StationDocument &doc = history.document();
    const bool all = scope == ShiftScope::AllElements;
    const bool inside = staysOnPanel(doc.tiles(), dx, dy, appliedColumns, appliedRows)
        && (!all
            || (staysOnPanel(doc.lamps(), dx, dy, appliedColumns, appliedRows)
                && staysOnPanel(doc.plates(), dx, dy, appliedColumns, appliedRows)
                && staysOnPanel(doc.deskElements(), dx, dy, appliedColumns, appliedRows)));
    if (!inside) {
        prompts.warn(QStringLiteral("Nelze posunout všechny prvky, některé by se dostaly za okraj panelu"));
        return false;
    }
    const bool moving = !doc.tiles().isEmpty() || (all && (doc.hasAnyElement() || !doc.areas().isEmpty()));
    if (!moving || (dx == 0 && dy == 0))
        return true;
    StationEdit edit(doc);
    shiftList<TPolePanelu>(edit, doc, dx, dy);
    if (all) {
        shiftList<TPoleZarovka>(edit, doc, dx, dy);
        shiftList<TPoleStitek>(edit, doc, dx, dy);
        shiftList<TPolePrvek>(edit, doc, dx, dy);
        // The areas frame what they framed; one reaching beyond the panel
        // afterwards is a warning of the layout check, not a reason to refuse.
        shiftList<TOblast>(edit, doc, dx, dy);
    }
    edit.markModified();
    history.commit(std::move(edit), QStringLiteral("Posunutí všech prvků"));
    return true;
}

}  // namespace kalmor
