#pragma once

#include <QStringList>
#include <QTextStream>

namespace kalmor::cli {

// kalmor-cli resave FILE [-o OUT]: reads and writes the station exactly as
// Open and Save As do; the file written over is replaced only whole.
int runResaveCommand(const QStringList &args, QTextStream &out, QTextStream &err);

}  // namespace kalmor::cli
