#include "cli/ResaveCommand.h"

#include "cli/CommandArguments.h"
#include "document/StationFile.h"

namespace kalmor::cli {

namespace {

const char *const Usage =
    "usage: kalmor-cli resave FILE [-o OUT]\n"
    "\n"
    "Reads the station and writes it again exactly as the editor's Open and\n"
    "Save As do, to clean up files written by other tools. Without -o the\n"
    "file is written over; it is replaced only once the new one is complete.\n"
    "\n"
    "  -o, --output OUT   write to OUT instead\n";

}  // namespace

int runResaveCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.contains(QStringLiteral("--help"))) {
        out << Usage;
        return ExitOk;
    }
    const CommandArguments a(args, {QStringLiteral("-o"), QStringLiteral("--output")}, {});
    if (!a.ok() || a.positional().size() != 1) {
        complain(err, a.ok() ? QStringLiteral("resave needs one station file") : a.error());
        err << Usage;
        return ExitFailed;
    }
    const QString input = a.positional().first();
    QString output = a.has(QStringLiteral("-o")) ? a.value(QStringLiteral("-o")) : a.value(QStringLiteral("--output"));
    if (output.isEmpty())
        output = input;
    const std::optional<StationData> doc = readStation(input, err);
    if (!doc)
        return ExitFailed;
    const FileResult written = writeStationFile(output, *doc);
    if (!written.ok()) {
        complain(err, output + QStringLiteral(": ") + written.error);
        return ExitFailed;
    }
    return ExitOk;
}

}  // namespace kalmor::cli
