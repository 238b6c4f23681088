#pragma once

#include <QString>
#include <QStringView>

namespace kalmor {

// What a panel builder calls a kind, in Czech: the desk kinds' own
// descriptions, the lamps by colour, the plates by where their text
// stands, and the track tiles by their class. Empty for a name of no
// class.
QString kindDescription(QStringView kind);

// The Czech name of a lamp colour by its role code ("CE": "červená");
// empty for a code that names no colour.
QString lampColourName(QStringView code);

}  // namespace kalmor
