#pragma once

#include "document/StationDocument.h"
#include "document/StationFile.h"

#include <QByteArray>

namespace kalmor {

// Everything a save would write, composed in memory, to compare whole
// documents without waiting for the disk.
inline QByteArray snapshot(const StationDocument &doc)
{
    QByteArray b = settingLines(doc.data());
    for (const auto &t : doc.tiles())
        b += tileLine(t);
    for (const auto &z : doc.lamps())
        b += lampLine(z);
    for (const auto &s : doc.plates())
        b += plateLine(s);
    return b;
}

}  // namespace kalmor
