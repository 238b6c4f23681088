#pragma once

#include <QStringList>
#include <QTextStream>

namespace kalmor::cli {

// kalmor-cli io FILE [--csv]: the wire list, every I/O point with its
// address. kalmor-cli parts FILE [--csv]: the parts list, per area and in
// total. Both print tab-separated text, or with --csv the file a
// spreadsheet opens (UTF-8 with a byte-order mark, ";" between fields).
// Exit status 0, or 2 when the file cannot be read or the arguments are
// wrong.
int runIoCommand(const QStringList &args, QTextStream &out, QTextStream &err);
int runPartsCommand(const QStringList &args, QTextStream &out, QTextStream &err);

}  // namespace kalmor::cli
