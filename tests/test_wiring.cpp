// The wiring of the desk computed from the station: the I/O points and
// their wire list, free pins given in order, the parts list, and the
// layout check's problems of addresses and areas.
#include "analysis/IoPoints.h"
#include "analysis/LayoutAnalysis.h"
#include "analysis/PartsList.h"

#include <QTest>

using namespace kalmor;

namespace {

TPoleZarovka lamp(qint32 x, qint32 y, const char *kind, const char *role = nullptr, IoAddress a = {})
{
    TPoleZarovka z{x, y, 0, 0, QString::fromLatin1(kind)};
    if (role)
        z.IO.set(*IoRoleCode::from(role), a);
    return z;
}

TPolePanelu tile(qint32 x, qint32 y, const char *kind)
{
    TPolePanelu t;
    t.X = x;
    t.Y = y;
    t.NAME = QString::fromLatin1(kind);
    return t;
}

// Two lamps share an output pin, one has none; two areas overlap at
// column 5, one of them quoted in CSV for its quotes.
StationData smallStation()
{
    StationData d;
    d.columns = 10;
    d.rows = 10;
    d.lamps.append(lamp(2, 1, "ZAR_CE_ZH", "CE", {3, 1}));
    d.lamps.append(lamp(5, 1, "ZAR_ZE_ZH", "ZE", {3, 1}));
    d.lamps.append(lamp(7, 2, "ZAR_BI_ZH"));
    d.tiles.append(tile(1, 1, "KOL_sLSPS"));
    d.tiles.append(tile(6, 1, "VYH_sLSPS_sLDPS"));
    d.plates.append({QStringLiteral("STI_Cely_Dole"), 0, 2});
    d.areas.append({0, 0, 6, 3, QStringLiteral("Zhlaví A")});
    d.areas.append({5, 0, 5, 5, QStringLiteral("\"B\"")});
    return d;
}

IoPoint point(IoDirection direction, std::optional<IoAddress> address)
{
    IoPoint p;
    p.direction = direction;
    p.address = address;
    return p;
}

}  // namespace

class TestWiring : public QObject {
    Q_OBJECT
private slots:
    void pointsAndWireList()
    {
        const StationData d = smallStation();
        const IoPoints points = IoPoints::of(d);
        QCOMPARE(points.size(), 3);
        QVERIFY(points.anyAddress());
        const AddressUse use(points);
        QVERIFY(use.isShared(points.at(0)) && use.isShared(points.at(1)) && !use.isShared(points.at(2)));
        QCOMPARE(points.pointsOfRecord(IoList::Lamps, 1), std::pair(1, 2));
        QCOMPARE(wireListCsv(points, allRows(points)),
                 QByteArray("\xEF\xBB\xBF"
                            "Bod;Směr;Druh;X;Y;Oblast;Deska;Pin\r\n"
                            "ZAR_CE_ZH X2 Y1.CE;výstup;ZAR_CE_ZH;2;1;Zhlaví A;3;1\r\n"
                            "ZAR_ZE_ZH X5 Y1.ZE;výstup;ZAR_ZE_ZH;5;1;Zhlaví A;3;1\r\n"
                            "ZAR_BI_ZH X7 Y2.BI;výstup;ZAR_BI_ZH;7;2;\"\"\"B\"\"\";;\r\n"));
        const std::vector<qint32> two{2, 0};
        QCOMPARE(wireListText(points, two), QStringLiteral("Bod\tSměr\tDruh\tX\tY\tOblast\tDeska\tPin\n"
                                                           "ZAR_BI_ZH X7 Y2.BI\tvýstup\tZAR_BI_ZH\t7\t2\t\"B\"\t\t\n"
                                                           "ZAR_CE_ZH X2 Y1.CE\tvýstup\tZAR_CE_ZH\t2\t1\tZhlaví A\t3\t1\n"));

        // A desk element's points go by its designation, in its kind's role
        // order; an address clashes in its own direction only, with lamps
        // and desk elements alike.
        StationData desk = d;
        TPolePrvek controller5{9, 4, QStringLiteral("RAD_VYH"), QStringLiteral("5")};
        controller5.IO.set(*IoRoleCode::from("PLUS_V"), IoAddress{3, 1});
        controller5.IO.set(*IoRoleCode::from("PORUCHA"), IoAddress{3, 1});
        desk.deskElements.append(controller5);
        const IoPoints withDesk = IoPoints::of(desk);
        QCOMPARE(withDesk.size(), 3 + 5);
        QCOMPARE(withDesk.pointsOfRecord(IoList::DeskElements, 0), std::pair(3, 8));
        QCOMPARE(withDesk.label(withDesk.at(3)), QStringLiteral("5.PLUS"));
        QCOMPARE(withDesk.at(3).direction, IoDirection::In);
        QCOMPARE(withDesk.at(3).address, (IoAddress{3, 1}));
        QCOMPARE(withDesk.label(withDesk.at(7)), QStringLiteral("5.PORUCHA"));
        const AddressUse deskUse(withDesk);
        QVERIFY(!deskUse.isShared(withDesk.at(3)) && deskUse.isShared(withDesk.at(7)));
        QVERIFY(deskUse.isShared(withDesk.at(0)));

        // An input whose code the kind also drives keeps its address apart.
        const IoRole controller[] = {{"PLUS", IoDirection::In}, {"T", IoDirection::In}, {"PLUS", IoDirection::Out}};
        QCOMPARE(ioKeyOf(controller, 0), QByteArray("PLUS_V"));
        QCOMPARE(ioKeyOf(controller, 1), QByteArray("T"));
        QCOMPARE(ioKeyOf(controller, 2), QByteArray("PLUS"));
        QCOMPARE(ioRoleOfKey(controller, "PLUS"), std::optional<std::size_t>(2));
        QCOMPARE(ioRoleOfKey(controller, "MINUS"), std::nullopt);
    }

    // Pins go in the chosen order; what other points use on the board is
    // skipped, in their own direction only; the chosen points' own pins
    // are free again; a full board goes on to the next ones, and only
    // boards up to 9999 too full refuse the whole assignment.
    void freePinsInOrder()
    {
        using D = IoDirection;
        const std::vector<IoPoint> points{point(D::Out, IoAddress{5, 1}), point(D::In, IoAddress{5, 2}),
                                          point(D::Out, std::nullopt),    point(D::In, std::nullopt),
                                          point(D::Out, IoAddress{5, 3}), point(D::Out, IoAddress{6, 2}),
                                          point(D::In, std::nullopt)};
        const std::vector<qint32> chosen{2, 3, 4, 6, 5};
        const auto given = assignInOrder(points, chosen, 5);
        QVERIFY(given);
        QCOMPARE(*given, (std::vector<IoAddress>{{5, 2}, {5, 1}, {5, 3}, {5, 3}, {5, 4}}));

        // Board 1 all but pin 4 used by outputs, board 2 pin 1 and 3 too,
        // board 3 pin 1 by an input: outputs spill over board 1 to the
        // free pins of board 2; inputs stay on board 1.
        std::vector<IoPoint> full;
        for (int pin = 1; pin <= MaxIoNumber; ++pin) {
            if (pin != 4)
                full.push_back(point(D::Out, IoAddress{1, quint16(pin)}));
        }
        full.push_back(point(D::Out, IoAddress{2, 1}));
        full.push_back(point(D::Out, IoAddress{2, 3}));
        full.push_back(point(D::In, IoAddress{3, 1}));
        std::vector<qint32> fresh;
        for (const D d : {D::Out, D::Out, D::In, D::Out, D::Out}) {
            fresh.push_back(qint32(full.size()));
            full.push_back(point(d, std::nullopt));
        }
        QCOMPARE(assignInOrder(full, fresh, 1),
                 (std::vector<IoAddress>{{1, 4}, {2, 2}, {1, 1}, {2, 4}, {2, 5}}));
        // One board only, as a pin typed in place takes: too few.
        QCOMPARE(assignInOrder(full, fresh, 1, 1), std::nullopt);
        // The last board, nearly full: nothing follows it.
        for (IoPoint &p : full) {
            if (p.address && p.address->board == 1)
                p.address->board = MaxIoNumber;
        }
        QCOMPARE(assignInOrder(full, std::span(fresh).first(1), MaxIoNumber),
                 (std::vector<IoAddress>{{MaxIoNumber, 4}}));
        QCOMPARE(assignInOrder(full, std::span(fresh).first(2), MaxIoNumber), std::nullopt);
    }

    // Per area, overlapping ones alike, and in total; the operating parts
    // follow from the catalogue, so a desk kind counts wherever it stands.
    void partsList()
    {
        StationData d = smallStation();
        d.deskElements.append({20, 20, QStringLiteral("RAD_VYH"), QStringLiteral("5")});
        d.deskElements.append({21, 20, QStringLiteral("POC_Obsluh")});
        d.deskElements.append({22, 20, QStringLiteral("TLA_VC")});
        d.tiles.append(tile(23, 20, "KOL_x"));
        const auto summary = [](const QString &group, const QList<int> &n) {
            const QStringList what{"žárovky červené", "žárovky zelené",   "žárovky žluté", "žárovky oranžové",
                                   "žárovky bílé",    "žárovky modré",    "žárovky bez barvy", "tlačítka",
                                   "řadiče",          "počítadla",        "klíčové zámky"};
            QString rows;
            for (qsizetype i = 0; i < what.size(); ++i)
                rows += group + QStringLiteral(";;") + what[i] + u';' + QString::number(n[i]) + QStringLiteral("\r\n");
            return rows;
        };
        const QString expected = QStringLiteral("Oblast;Druh;Popis;Počet\r\n"
                                                "Zhlaví A;KOL_sLSPS;kolej;1\r\n"
                                                "Zhlaví A;ZAR_CE_ZH;žárovka červená;1\r\n"
                                                "Zhlaví A;ZAR_ZE_ZH;žárovka zelená;1\r\n"
                                                "Zhlaví A;STI_Cely_Dole;štítek, text dole;1\r\n")
            + summary(QStringLiteral("Zhlaví A"), {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0})
            + QStringLiteral("\"\"\"B\"\"\";VYH_sLSPS_sLDPS;výhybka;1\r\n"
                             "\"\"\"B\"\"\";ZAR_BI_ZH;žárovka bílá;1\r\n"
                             "\"\"\"B\"\"\";ZAR_ZE_ZH;žárovka zelená;1\r\n")
            + summary(QStringLiteral("\"\"\"B\"\"\""), {0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0})
            + QStringLiteral("Celkem;KOL_sLSPS;kolej;1\r\n"
                             "Celkem;VYH_sLSPS_sLDPS;výhybka;1\r\n"
                             "Celkem;ZAR_CE_ZH;žárovka červená;1\r\n"
                             "Celkem;ZAR_BI_ZH;žárovka bílá;1\r\n"
                             "Celkem;ZAR_ZE_ZH;žárovka zelená;1\r\n"
                             "Celkem;STI_Cely_Dole;štítek, text dole;1\r\n"
                             "Celkem;TLA_VC;vlakové cestové tlačítko;1\r\n"
                             "Celkem;RAD_VYH;výhybkový řadič;1\r\n"
                             "Celkem;POC_Obsluh;počítadlo obsluh;1\r\n"
                             "Celkem;KOL_x;kolej;1\r\n")
            + summary(QStringLiteral("Celkem"), {1, 2, 0, 0, 1, 0, 3, 1, 1, 1, 0});
        const QByteArray csv = partsListCsv(kalmor::partsList(d));
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(csv.sliced(3)), expected);
    }

    // io-duplicate at every point of a shared address, io-missing only
    // once some point has an address, area-outside at the area's corner;
    // they follow address edits and survive edits of their cells' tiles.
    void checkProblems()
    {
        StationData d = smallStation();
        d.areas.append({8, 0, 5, 1, QStringLiteral("venku")});
        LayoutAnalysis a;
        a.update(d);
        const auto wide = [&a] {
            QStringList found;
            a.problems().forEach([&](const Problem &p) {
                if (isStationWide(p.code))
                    found << QStringLiteral("%1 %2 %3 %4 %5")
                                 .arg(p.x)
                                 .arg(p.y)
                                 .arg(problemCodeText(p.code), problemPointText(p, a.kindName(p.kind)),
                                      problemLevelText(problemLevel(p.code)));
            });
            return found;
        };
        const QStringList first{"8 0 area-outside  warning", "2 1 io-duplicate CE error", "5 1 io-duplicate ZE error",
                                "7 2 io-missing BI warning"};
        QCOMPARE(wide(), first);
        QCOMPARE(a.problems().count(ProblemCode::IoDuplicate), 2);

        d.tiles.append(tile(2, 1, "KOL_sLSPS"));  // the analysis follows the cell
        a.update(d);
        QCOMPARE(wide(), first);
        TPoleZarovka moved = d.lamps.at(1);
        moved.IO.set(*IoRoleCode::from("ZE"), IoAddress{3, 2});
        d.lamps.replace(1, moved);
        a.update(d);
        QCOMPARE(wide(), (QStringList{"8 0 area-outside  warning", "7 2 io-missing BI warning"}));
        for (qsizetype i = 0; i < d.lamps.count(); ++i) {
            TPoleZarovka z = d.lamps.at(i);
            z.IO = {};
            d.lamps.replace(i, z);
        }
        d.columns = 13;
        a.update(d);
        QVERIFY(wide().isEmpty());
        QCOMPARE(a.problems().count(ProblemCode::IoMissing), 0);
    }
};

QTEST_MAIN(TestWiring)
#include "test_wiring.moc"
