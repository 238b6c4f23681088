#pragma once

#include <QStringList>

namespace kalmor {

// The 52 lines of the help window, exactly as it shows them.
const QStringList &helpTextLines();

}  // namespace kalmor
