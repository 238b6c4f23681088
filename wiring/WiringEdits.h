#pragma once

#include "analysis/IoPoints.h"
#include "document/StationEdit.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace kalmor {

class StationHistory;

// The changes the wiring windows make, each one step of the history
// that marks the station modified; a change that changes nothing is none.

// Gives the points (indices into `points`, taken from the station as it
// is) the addresses, or takes them away where an address is nothing: the
// lists change at once, the history gets the change when it is committed.
StationEdit addressEdit(StationDocument &doc, const IoPoints &points, std::span<const qint32> chosen,
                        std::span<const std::optional<IoAddress>> addresses);

inline const QString AddressStepName = QStringLiteral("Změna adresy bodu");
inline const QString AssignStepName = QStringLiteral("Přiřazení adres postupně");

void addArea(StationHistory &history, const TOblast &area);
void renameArea(StationHistory &history, qint32 position, const QString &name);
// Removes the areas at the positions (ascending); the others keep their order.
void deleteAreas(StationHistory &history, std::vector<qint32> positions);

// Whether a text may be an area's name: it must be written as it is,
// in windows-1250 and without ";", and not be empty.
bool isAreaName(const QString &name);

// "Oblast 1", or the first such name no area has yet.
QString freeAreaName(const StationData &doc);

// Writes a table file beside an old one and replaces it only when
// complete; empty text on success, else the platform's message.
QString writeTableFile(const QString &path, const QByteArray &bytes);

}  // namespace kalmor
