#include "cli/CheckCommand.h"

#include "analysis/LayoutAnalysis.h"
#include "cli/CommandArguments.h"

namespace kalmor::cli {

namespace {

const char *const Usage =
    "usage: kalmor-cli check FILE [--json]\n"
    "\n"
    "Checks the layout of a station file: track that ends without a\n"
    "neighbour (open-end), neighbours that disagree on dividing the track\n"
    "circuit (division-mismatch), several elements of one kind on a cell\n"
    "(stacked), elements outside the panel (outside-panel), names of no\n"
    "known kind (unknown-kind) and an I/O address used twice in one\n"
    "direction (io-duplicate) are errors; an I/O point without an address\n"
    "while another has one (io-missing) and an area reaching beyond the\n"
    "panel (area-outside) are warnings.\n"
    "\n"
    "Prints one problem a line as \"X Y code point kind\" (point \"-\" when\n"
    "the problem has none, the I/O role for io-duplicate and io-missing;\n"
    "kind: the area's name for area-outside) and a summary, or with --json\n"
    "  {\"circuits\": N, \"problems\": [{\"x\":..,\"y\":..,\"code\":\"..\",\"level\":\"..\",\n"
    "   \"point\":\"..\",\"kind\":\"..\"}, ...]}\n"
    "Problems are ordered by Y, X, code and point.\n"
    "\n"
    "Exit status: 0 no error (warnings do not count), 1 errors found, 2 the\n"
    "file cannot be read or the arguments are wrong.\n";

QString jsonString(const QString &s)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : s) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            out += c;
    }
    return out + u'"';
}

void printText(const LayoutAnalysis &a, QTextStream &out)
{
    a.problems().forEach([&](const Problem &p) {
        const QString point = problemPointText(p, a.kindName(p.kind));
        out << p.x << ' ' << p.y << ' ' << problemCodeText(p.code) << ' '
            << (point.isEmpty() ? QStringLiteral("-") : point) << ' ' << a.kindName(p.kind) << '\n';
    });
    out << a.circuitCount() << " circuits, " << a.problems().size() << " problems";
    QStringList counts;
    for (const ProblemCode code : AllProblemCodes)
        counts << QStringLiteral("%1 %2").arg(problemCodeText(code)).arg(a.problems().count(code));
    out << " (" << counts.join(QStringLiteral(", ")) << ")\n";
}

void printJson(const LayoutAnalysis &a, QTextStream &out)
{
    out << "{\"circuits\": " << a.circuitCount() << ", \"problems\": [";
    bool first = true;
    a.problems().forEach([&](const Problem &p) {
        out << (first ? "" : ", ") << "{\"x\":" << p.x << ",\"y\":" << p.y
            << ",\"code\":" << jsonString(problemCodeText(p.code))
            << ",\"level\":" << jsonString(problemLevelText(problemLevel(p.code)))
            << ",\"point\":" << jsonString(problemPointText(p, a.kindName(p.kind)))
            << ",\"kind\":" << jsonString(a.kindName(p.kind)) << '}';
        first = false;
    });
    out << "]}\n";
}

}  // namespace

int runCheckCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const ReportRequest request = reportRequest(args, QStringLiteral("check"), Usage, out, err);
    if (!request.station)
        return request.exit;
    LayoutAnalysis analysis;
    analysis.update(*request.station);
    if (request.json)
        printJson(analysis, out);
    else
        printText(analysis, out);
    // Problems are not a failure of the command, but scripts must see the
    // errors among them.
    qsizetype errors = 0;
    for (const ProblemCode code : AllProblemCodes) {
        if (problemLevel(code) == ProblemLevel::Error)
            errors += analysis.problems().count(code);
    }
    return errors == 0 ? ExitOk : 1;
}

}  // namespace kalmor::cli
