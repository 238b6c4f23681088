#pragma once

#include <QString>

namespace kalmor {

// The example station installed with the program: share/kalmor/ukazka.stvx
// beside the folder of the program (/usr/bin/../share/kalmor when
// installed, share/kalmor in the build folder). Empty when it is not
// there.
QString exampleStationPath();

}  // namespace kalmor
