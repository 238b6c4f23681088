#pragma once

#include <QStringList>
#include <QTextStream>

namespace kalmor::cli {

// kalmor-cli info FILE [--json]: panel size, colour, the five texts,
// counts per list and per kind, and the cells the elements span.
int runInfoCommand(const QStringList &args, QTextStream &out, QTextStream &err);

}  // namespace kalmor::cli
