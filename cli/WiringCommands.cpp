#include "cli/WiringCommands.h"

#include "analysis/IoPoints.h"
#include "analysis/PartsList.h"
#include "cli/CommandArguments.h"

#include <QIODevice>

namespace kalmor::cli {

namespace {

const char *const IoUsage =
    "usage: kalmor-cli io FILE [--csv]\n"
    "\n"
    "Prints the wire list: every I/O point of the station (a lamp's output,\n"
    "and every role of a desk element) with its direction, kind, cell,\n"
    "area, board and pin, one a line, fields separated by tabs, in the\n"
    "order of the station.\n"
    "\n"
    "  --csv   the same as a spreadsheet file: UTF-8 with a byte-order mark,\n"
    "          \";\" between fields, a header row in Czech\n";

const char *const PartsUsage =
    "usage: kalmor-cli parts FILE [--csv]\n"
    "\n"
    "Prints the parts list: for every area and for the whole panel the\n"
    "number of elements of each kind with its Czech description, then the\n"
    "lamps by colour, buttons, controllers, counters and key locks, fields\n"
    "separated by tabs.\n"
    "\n"
    "  --csv   the same as a spreadsheet file: UTF-8 with a byte-order mark,\n"
    "          \";\" between fields, a header row in Czech\n";

// The CSV goes out as bytes, the mark included, whatever the stream's
// encoding.
void writeBytes(QTextStream &out, const QByteArray &bytes)
{
    out.flush();
    if (QIODevice *device = out.device())
        device->write(bytes);
    else
        out << QString::fromUtf8(bytes);
}

template <class Print>
int report(const QStringList &args, const QString &command, const char *usage, QTextStream &out, QTextStream &err,
           Print print)
{
    if (args.contains(QStringLiteral("--help"))) {
        out << usage;
        return ExitOk;
    }
    const CommandArguments a(args, {}, {QStringLiteral("--csv")});
    if (!a.ok() || a.positional().size() != 1) {
        complain(err, a.ok() ? QStringLiteral("%1 needs one station file").arg(command) : a.error());
        err << usage;
        return ExitFailed;
    }
    const std::optional<StationData> station = readStation(a.positional().first(), err);
    if (!station)
        return ExitFailed;
    print(*station, a.has(QStringLiteral("--csv")));
    return ExitOk;
}

}  // namespace

int runIoCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return report(args, QStringLiteral("io"), IoUsage, out, err, [&out](const StationData &doc, bool csv) {
        const IoPoints points = IoPoints::of(doc);
        const std::vector<qint32> rows = allRows(points);
        if (csv)
            writeBytes(out, wireListCsv(points, rows));
        else
            out << wireListText(points, rows);
    });
}

int runPartsCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return report(args, QStringLiteral("parts"), PartsUsage, out, err, [&out](const StationData &doc, bool csv) {
        const std::vector<PartsCount> counts = partsList(doc);
        if (csv)
            writeBytes(out, partsListCsv(counts));
        else
            out << partsListText(counts);
    });
}

}  // namespace kalmor::cli
