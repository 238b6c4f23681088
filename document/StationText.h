#pragma once

#include <QString>
#include <QStringView>

namespace kalmor {

// Text a station file line can hold as a value: no ";" (it separates the
// fields of a line), no line break, and only characters windows-1250 can
// store. Station texts and plate texts are refused where they are typed
// otherwise, since they would come back cut or changed after a save.
bool isStationText(QStringView text);

// What the user is told when a plate text is refused.
QString refusedPlateTextMessage();

}  // namespace kalmor
