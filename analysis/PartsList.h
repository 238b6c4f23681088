#pragma once

#include "document/StationDocument.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace kalmor {

// Calls f(record) for every record of every element list.
template <class F>
void forEachElement(const StationData &doc, F &&f)
{
    for (const auto &r : doc.tiles)
        f(r);
    for (const auto &r : doc.lamps)
        f(r);
    for (const auto &r : doc.plates)
        f(r);
    for (const auto &r : doc.deskElements)
        f(r);
}

// What a group of cells takes to build: how many elements of each kind,
// then lamps by colour and the desk's operating parts.
struct PartsCount {
    QString group;  // the area's name, or "Celkem"
    std::vector<std::pair<QString, qsizetype>> kinds;  // in the catalogue's order, unknown names after
    // Lit outputs by colour code (CE, ZE, ZL, OR, BI, MO), lamps and desk
    // elements alike; outputs that name no colour (a controller's "+")
    // apart, a counter's pulse not among them.
    std::array<qsizetype, 6> lampsByColour{};
    qsizetype otherLamps = 0;
    qsizetype buttons = 0;
    qsizetype controllers = 0;
    qsizetype counters = 0;
    qsizetype keyLocks = 0;
};

// One count per area, in area order, then the whole panel.
std::vector<PartsCount> partsList(const StationData &doc);

// As CSV ("Oblast;Druh;Popis;Počet", UTF-8 with a byte-order mark) and
// as tab-separated text.
QByteArray partsListCsv(const std::vector<PartsCount> &counts);
QString partsListText(const std::vector<PartsCount> &counts);

}  // namespace kalmor
