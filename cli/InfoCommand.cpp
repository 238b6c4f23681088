#include "cli/InfoCommand.h"

#include "cli/CommandArguments.h"
#include "document/Colours.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <algorithm>

namespace kalmor::cli {

namespace {

const char *const Usage =
    "usage: kalmor-cli info FILE [--json]\n"
    "\n"
    "Prints rows, columns, background colour, the five station texts, the\n"
    "number of tiles, lamps, plates and desk elements, the number of elements\n"
    "of every kind, the cells the elements span (left, top, right, bottom,\n"
    "inclusive) and the texts of the plates, then the designations of the desk\n"
    "elements (column, row and text, in the file's order).\n"
    "\n"
    "  --json   the same as one JSON object\n";

struct Bounds {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
    bool any = false;

    void add(qint32 x, qint32 y)
    {
        if (!any) {
            *this = Bounds{x, y, x, y, true};
            return;
        }
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
};

struct Summary {
    QMap<QString, qsizetype> kinds;  // sorted by name
    Bounds bounds;
};

Summary summarise(const StationData &doc)
{
    Summary s;
    const auto count = [&s](const auto &list) {
        for (const auto &r : list) {
            ++s.kinds[r.NAME];
            s.bounds.add(r.X, r.Y);
        }
    };
    count(doc.tiles);
    count(doc.lamps);
    count(doc.plates);
    count(doc.deskElements);
    return s;
}

// Plates and desk elements with a text, plates first, each in list order.
template <class Visit>
void forEachText(const StationData &doc, Visit visit)
{
    for (const TPoleStitek &plate : doc.plates) {
        if (!plate.TEXT.isEmpty())
            visit(plate);
    }
    for (const TPolePrvek &element : doc.deskElements) {
        if (!element.TEXT.isEmpty())
            visit(element);
    }
}

QJsonObject asJson(const StationData &doc, const Summary &s)
{
    QJsonObject kinds;
    for (auto it = s.kinds.cbegin(); it != s.kinds.cend(); ++it)
        kinds.insert(it.key(), double(it.value()));
    QJsonValue bounds;
    if (s.bounds.any) {
        bounds = QJsonObject{{QStringLiteral("left"), s.bounds.left},
                             {QStringLiteral("top"), s.bounds.top},
                             {QStringLiteral("right"), s.bounds.right},
                             {QStringLiteral("bottom"), s.bounds.bottom}};
    }
    QJsonArray texts;
    forEachText(doc, [&texts](const auto &e) {
        texts.append(QJsonObject{{QStringLiteral("x"), e.X},
                                 {QStringLiteral("y"), e.Y},
                                 {QStringLiteral("kind"), e.NAME},
                                 {QStringLiteral("text"), e.TEXT}});
    });
    return QJsonObject{
        {QStringLiteral("rows"), doc.rows},
        {QStringLiteral("columns"), doc.columns},
        {QStringLiteral("colour"), QString::fromLatin1(colourToText(doc.backgroundColour))},
        {QStringLiteral("station"), doc.stationName},
        {QStringLiteral("description"), doc.description},
        {QStringLiteral("author"), doc.author},
        {QStringLiteral("version"), doc.version},
        {QStringLiteral("issueDate"), doc.issueDate},
        {QStringLiteral("tiles"), double(doc.tiles.count())},
        {QStringLiteral("lamps"), double(doc.lamps.count())},
        {QStringLiteral("plates"), double(doc.plates.count())},
        {QStringLiteral("deskElements"), double(doc.deskElements.count())},
        {QStringLiteral("kinds"), kinds},
        {QStringLiteral("boundingBox"), bounds},
        {QStringLiteral("texts"), texts},
    };
}

void printText(QTextStream &out, const StationData &doc, const Summary &s)
{
    out << "rows: " << doc.rows << "\n"
        << "columns: " << doc.columns << "\n"
        << "colour: " << colourToText(doc.backgroundColour) << "\n"
        << "station: " << doc.stationName << "\n"
        << "description: " << doc.description << "\n"
        << "author: " << doc.author << "\n"
        << "version: " << doc.version << "\n"
        << "issue date: " << doc.issueDate << "\n"
        << "tiles: " << doc.tiles.count() << "\n"
        << "lamps: " << doc.lamps.count() << "\n"
        << "plates: " << doc.plates.count() << "\n"
        << "desk elements: " << doc.deskElements.count() << "\n"
        << "kinds:\n";
    for (auto it = s.kinds.cbegin(); it != s.kinds.cend(); ++it)
        out << "  " << it.key() << ": " << it.value() << "\n";
    out << "bounding box: ";
    if (s.bounds.any)
        out << "left " << s.bounds.left << ", top " << s.bounds.top << ", right " << s.bounds.right << ", bottom "
            << s.bounds.bottom << "\n";
    else
        out << "none\n";
    out << "texts:";
    bool any = false;
    forEachText(doc, [&](const auto &e) {
        out << "\n  " << e.X << ' ' << e.Y << ": " << e.TEXT;
        any = true;
    });
    out << (any ? "\n" : " none\n");
}

}  // namespace

int runInfoCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const ReportRequest request = reportRequest(args, QStringLiteral("info"), Usage, out, err);
    if (!request.station)
        return request.exit;
    const StationData &doc = *request.station;
    const Summary summary = summarise(doc);
    if (request.json)
        out << QJsonDocument(asJson(doc, summary)).toJson(QJsonDocument::Indented);
    else
        printText(out, doc, summary);
    return ExitOk;
}

}  // namespace kalmor::cli
