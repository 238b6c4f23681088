#pragma once

#include "document/ElementList.h"
#include "document/Records.h"

#include <QStringList>

namespace kalmor {

// A track tile at a cell with all eight flags cleared.
inline TPolePanelu tile(qint32 x, qint32 y, const QString &name)
{
    TPolePanelu t;
    t.X = x;
    t.Y = y;
    t.NAME = name;
    return t;
}

// The kind names of a tile list, in list order.
inline QStringList names(const ElementList<TPolePanelu> &list)
{
    QStringList out;
    for (const TPolePanelu &t : list)
        out << t.NAME;
    return out;
}

}  // namespace kalmor
