#pragma once

#include <QStringList>
#include <QTextStream>

namespace kalmor::cli {

// kalmor-cli check FILE [--json]: the layout problems of a station file,
// one a line ("X Y code point kind") and a summary, or as JSON. Exit
// status 0 without errors (warnings do not count), 1 with errors, 2 when
// the file cannot be read or the arguments are wrong.
int runCheckCommand(const QStringList &args, QTextStream &out, QTextStream &err);

}  // namespace kalmor::cli
