#pragma once

#include <QString>

namespace kalmor {

// The platform's English message for a failed file operation, from the
// error number the system reported.
QString fileErrorMessage(int errorNumber);

}  // namespace kalmor
