#include "cli/CheckCommand.h"

#include "analysis/LayoutAnalysis.h"
#include "analysis/TextDuplicates.h"
#include "cli/CommandArguments.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace kalmor::cli {

namespace {

const char *const Usage =
    "usage: kalmor-cli check FILE [--json]\n"
    "\n"
    "Checks the layout of a station file: track that ends without a\n"
    "neighbour (open-end), neighbours that disagree on dividing the track\n"
    "circuit (division-mismatch), several elements of one kind on a cell\n"
    "(stacked), elements outside the panel (outside-panel), names of no\n"
    "known kind or on the wrong list (unknown-kind) and an I/O address used\n"
    "twice in one direction (io-duplicate), all of them errors; and plates\n"
    "that share a text (duplicate-text), an I/O point without an address\n"
    "while another has one (io-missing), an area reaching beyond the panel\n"
    "(area-outside), signals without track in their cell or the cells above\n"
    "and below (signal-without-track) and signals, switch controllers and\n"
    "route buttons without a designation (no-designation), warnings.\n"
    "\n"
    "Prints one problem a line as \"X Y code point kind\" (point \"-\" when\n"
    "the problem has none, the I/O role for io-duplicate and io-missing;\n"
    "kind: the area's name for area-outside; a warning ends in \" warning\")\n"
    "and a summary, or with --json\n"
    "  {\"circuits\": N, \"problems\": [{\"x\":..,\"y\":..,\"code\":\"..\",\"point\":\"..\",\"kind\":\"..\",\n"
    "   \"level\":\"error\"|\"warning\"}, ...]}\n"
    "Problems are ordered by Y, X, code and point.\n"
    "\n"
    "Exit status: 0 no problem or only warnings, 1 errors found, 2 the file\n"
    "cannot be read or the arguments are wrong.\n";

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

// A problem with the name of its element's kind.
struct Found {
    const Problem *problem = nullptr;
    const QString *kind = nullptr;
};

// The layout's problems and the plates' shared texts, in one order.
class CheckResult {
public:
    explicit CheckResult(const StationData &doc)
    {
        m_layout.update(doc);
        m_texts.update(doc);
        std::vector<Found> layout;
        std::vector<Found> texts;
        m_layout.problems().forEach([&](const Problem &p) { layout.push_back({&p, &m_layout.kindName(p.kind)}); });
        m_texts.problems().forEach([&](const Problem &p) { texts.push_back({&p, &m_texts.kindName(p.kind)}); });
        std::merge(layout.cbegin(), layout.cend(), texts.cbegin(), texts.cend(), std::back_inserter(m_found),
                   [](const Found &a, const Found &b) { return problemBefore(*a.problem, *b.problem); });
    }

    qsizetype circuits() const { return m_layout.circuitCount(); }
    const std::vector<Found> &found() const { return m_found; }
    qsizetype count(ProblemCode code) const { return m_layout.problems().count(code) + m_texts.problems().count(code); }
    bool hasErrors() const
    {
        return std::any_of(m_found.cbegin(), m_found.cend(),
                           [](const Found &f) { return problemLevel(f.problem->code) == ProblemLevel::Error; });
    }

private:
    LayoutAnalysis m_layout;
    TextDuplicates m_texts;
    std::vector<Found> m_found;
};

void printText(const CheckResult &r, QTextStream &out)
{
    for (const Found &f : r.found()) {
        const Problem &p = *f.problem;
        const QString point = problemPointText(p, *f.kind);
        out << p.x << ' ' << p.y << ' ' << problemCodeText(p.code) << ' '
            << (point.isEmpty() ? QStringLiteral("-") : point) << ' ' << *f.kind;
        if (problemLevel(p.code) == ProblemLevel::Warning)
            out << ' ' << problemLevelText(ProblemLevel::Warning);
        out << '\n';
    }
    out << r.circuits() << " circuits, " << r.found().size() << " problems";
    QStringList counts;
    for (const ProblemCode code : AllProblemCodes)
        counts << QStringLiteral("%1 %2").arg(problemCodeText(code)).arg(r.count(code));
    out << " (" << counts.join(QStringLiteral(", ")) << ")\n";
}

void printJson(const CheckResult &r, QTextStream &out)
{
    out << "{\"circuits\": " << r.circuits() << ", \"problems\": [";
    bool first = true;
    for (const Found &f : r.found()) {
        const Problem &p = *f.problem;
        out << (first ? "" : ", ") << "{\"x\":" << p.x << ",\"y\":" << p.y
            << ",\"code\":" << jsonString(problemCodeText(p.code))
            << ",\"point\":" << jsonString(problemPointText(p, *f.kind))
            << ",\"kind\":" << jsonString(*f.kind)
            << ",\"level\":" << jsonString(problemLevelText(problemLevel(p.code))) << '}';
        first = false;
    }
    out << "]}\n";
}

}  // namespace

int runCheckCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const ReportRequest request = reportRequest(args, QStringLiteral("check"), Usage, out, err);
    if (!request.station)
        return request.exit;
    const CheckResult result(*request.station);
    if (request.json)
        printJson(result, out);
    else
        printText(result, out);
    // Problems are not a failure of the command, but scripts must see
    // errors; warnings only ask for a look.
    return result.hasErrors() ? 1 : ExitOk;
}

}  // namespace kalmor::cli
