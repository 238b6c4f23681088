#pragma once

#include "document/StationDocument.h"
#include "document/StationFile.h"

#include <QByteArray>

namespace kalmor {

// Everything a save would write, composed in memory, to compare whole
// documents without waiting for the disk.
inline QByteArray stationBytes(const StationData &d)
{
    QByteArray b = settingLines(d);
    for (const auto &t : d.tiles)
        b += tileLine(t);
    for (const auto &z : d.lamps)
        b += lampLine(z);
    for (const auto &s : d.plates)
        b += plateLine(s);
    for (const auto &p : d.deskElements)
        b += deskElementLine(p);
    return b + areaLines(d);
}

inline QByteArray snapshot(const StationDocument &doc)
{
    return stationBytes(doc.data());
}

}  // namespace kalmor
