// Track circuits and layout problems: one small station per rule, and
// the analysis that follows edits against one made from scratch.
#include "analysis/LayoutAnalysis.h"
#include "support/TestRecords.h"

#include <QRandomGenerator>
#include <QtTest>

#include <map>

using namespace kalmor;

namespace {

// "x,y NAME -PT ..." items separated by ";": the element of that name at
// the cell, a track tile with the flags of all its points set except the
// ones named after a minus. The name's prefix chooses the list, unless
// "@tile" or "@desk" names it; "'S1" gives a desk element its designation.
StationData station(const QString &items)
{
    StationData doc;
    doc.columns = doc.rows = 10;
    for (const QString &item : items.split(u';', Qt::SkipEmptyParts)) {
        const QStringList words = item.split(u' ', Qt::SkipEmptyParts);
        const QStringList cell = words[0].split(u',');
        const qint32 x = cell[0].toInt();
        const qint32 y = cell[1].toInt();
        const QString &name = words[1];
        const bool desk = elementClassOf(name) == ElementClass::DeskElement;
        if ((desk && !words.contains(u"@tile")) || words.contains(u"@desk")) {
            const auto text = std::find_if(words.cbegin(), words.cend(), [](const QString &w) { return w.startsWith(u'\''); });
            doc.deskElements.append(TPolePrvek{x, y, name, text == words.cend() ? QString() : text->mid(1)});
        } else if (elementClassOf(name) == ElementClass::Lamp) {
            doc.lamps.append(TPoleZarovka{x, y, 0, 0, name});
        } else if (elementClassOf(name) == ElementClass::LabelPlate) {
            doc.plates.append(TPoleStitek{name, x, y});
        } else {
            TPolePanelu t = tile(x, y, name);
            const BorderPoints points = borderPointsOf(name);
            bool *flags[] = {&t.Cont_LH, &t.Cont_LS, &t.Cont_LD, &t.Cont_SH,
                             &t.Cont_SD, &t.Cont_PH, &t.Cont_PS, &t.Cont_PD};
            for (const BorderPoint p : AllBorderPoints)
                *flags[int(p)] = points.contains(p) && !words.contains(u'-' + borderPointCode(p));
            doc.tiles.append(t);
        }
    }
    return doc;
}

QStringList problemLines(const LayoutAnalysis &a)
{
    QStringList lines;
    a.problems().forEach([&](const Problem &p) {
        lines << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(p.x)
                     .arg(p.y)
                     .arg(problemCodeText(p.code), p.point ? borderPointCode(*p.point) : QStringLiteral("-"),
                          a.kindName(p.kind));
    });
    return lines;
}

// Neighbouring circuits: across a dividing meeting point (looking right,
// down, down-right and down-left) and the two sides of a boundary.
void checkColouring(const LayoutAnalysis &a, const StationData &doc)
{
    const std::array<std::tuple<int, int, BorderPoint, BorderPoint>, 4> forward{{
        {1, 0, BorderPoint::PS, BorderPoint::LS},
        {0, 1, BorderPoint::SD, BorderPoint::SH},
        {1, 1, BorderPoint::PD, BorderPoint::LH},
        {-1, 1, BorderPoint::LD, BorderPoint::PH},
    }};
    // A boundary's second side holds the later of its two points.
    const auto sideOf = [&](const TileCircuits &t, BorderPoint p) {
        const QString &name = doc.tiles.at(t.position).NAME;
        return name.startsWith(u"HKO") && (borderPointsOf(name).bits() >> (int(p) + 1)) == 0 ? 1 : 0;
    };
    for (qint32 y = 0; y < doc.rows; ++y) {
        for (qint32 x = 0; x < doc.columns; ++x) {
            const auto t = a.tileAt(x, y);
            if (!t)
                continue;
            if (t->circuit[0] != t->circuit[1])
                QVERIFY(t->colour[0] != t->colour[1]);
            for (const auto &[dx, dy, p, q] : forward) {
                const auto n = a.tileAt(x + dx, y + dy);
                const QString &name = doc.tiles.at(t->position).NAME;
                if (!n || !borderPointsOf(name).contains(p)
                    || !borderPointsOf(doc.tiles.at(n->position).NAME).contains(q))
                    continue;
                const int s = sideOf(*t, p);
                const int ns = sideOf(*n, q);
                if (t->circuit[s] != n->circuit[ns])
                    QVERIFY2(t->colour[s] != n->colour[ns], qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
    }
}

}  // namespace

class TestAnalysis : public QObject {
    Q_OBJECT
private slots:
    void rules_data();
    void rules();
    void boundarySides();
    void incrementalMatchesFull();
};

void TestAnalysis::rules_data()
{
    QTest::addColumn<QString>("items");
    QTest::addColumn<int>("circuits");
    QTest::addColumn<QStringList>("problems");

    QTest::newRow("straight run, both ends open")
        << "2,3 KOL_sLSPS; 3,3 KOL_sLSPS; 4,3 KOL_sLSPS" << 1
        << QStringList{"2 3 open-end LS KOL_sLSPS", "4 3 open-end PS KOL_sLSPS"};
    QTest::newRow("closed loop")
        << "1,1 KOL_sLDPS; 2,1 KOL_sLSPS; 3,1 KOL_sLSPS; 4,1 KOL_sLSPD; 5,2 KOL_sLHSD; 5,3 KOL_sSDSH;"
           "5,4 KOL_sLDSH; 4,5 KOL_sLSPH; 3,5 KOL_sLSPS; 2,5 KOL_sLSPS; 1,5 KOL_sLHPS; 0,4 KOL_sSHPD;"
           "0,3 KOL_sSDSH; 0,2 KOL_sSDPH"
        << 1 << QStringList{};
    QTest::newRow("switch whose branch ends")
        << "2,3 KOZ_sPS; 3,3 VYH_sLSPS_sLDPS; 4,3 KOZ_sLS" << 1
        << QStringList{"3 3 open-end LD VYH_sLSPS_sLDPS"};
    QTest::newRow("diagonal meeting at corners")
        << "1,2 KOL_sLDPH; 2,1 KOL_sLDPH" << 1
        << QStringList{"2 1 open-end PH KOL_sLDPH", "1 2 open-end LD KOL_sLDPH"};
    QTest::newRow("diagonal divided at the corner")
        << "1,2 KOL_sLDPH -PH; 2,1 KOL_sLDPH -LD" << 2
        << QStringList{"2 1 open-end PH KOL_sLDPH", "1 2 open-end LD KOL_sLDPH"};
    QTest::newRow("boundary splits a run")
        << "1,1 KOZ_sPS; 2,1 KOL_sLSPS; 3,1 HKO_sLSPS; 4,1 KOL_sLSPS; 5,1 KOZ_sLS" << 2 << QStringList{};
    // A flag cleared on one side of a meeting point, for each of the eight
    // directions the tile at 3,3 meets its neighbour in: the mismatch is
    // reported at the upper or left tile, and the circuit is divided.
    QTest::newRow("flag cleared on one side only, LH")
        << "3,3 KOL_sLHPD -LH; 2,2 KOL_sLHPD" << 2
        << QStringList{"2 2 division-mismatch PD KOL_sLHPD", "2 2 open-end LH KOL_sLHPD",
                       "3 3 open-end PD KOL_sLHPD"};
    QTest::newRow("flag cleared on one side only, LS")
        << "3,3 KOL_sLSPS -LS; 2,3 KOL_sLSPS" << 2
        << QStringList{"2 3 division-mismatch PS KOL_sLSPS", "2 3 open-end LS KOL_sLSPS",
                       "3 3 open-end PS KOL_sLSPS"};
    QTest::newRow("flag cleared on one side only, LD")
        << "3,3 KOL_sLDPH -LD; 2,4 KOL_sLDPH" << 2
        << QStringList{"3 3 division-mismatch LD KOL_sLDPH", "3 3 open-end PH KOL_sLDPH",
                       "2 4 open-end LD KOL_sLDPH"};
    QTest::newRow("flag cleared on one side only, SH")
        << "3,3 KOL_sSDSH -SH; 3,2 KOL_sSDSH" << 2
        << QStringList{"3 2 division-mismatch SD KOL_sSDSH", "3 2 open-end SH KOL_sSDSH",
                       "3 3 open-end SD KOL_sSDSH"};
    QTest::newRow("flag cleared on one side only, SD")
        << "3,3 KOL_sSDSH -SD; 3,4 KOL_sSDSH" << 2
        << QStringList{"3 3 division-mismatch SD KOL_sSDSH", "3 3 open-end SH KOL_sSDSH",
                       "3 4 open-end SD KOL_sSDSH"};
    QTest::newRow("flag cleared on one side only, PH")
        << "3,3 KOL_sLDPH -PH; 4,2 KOL_sLDPH" << 2
        << QStringList{"4 2 division-mismatch LD KOL_sLDPH", "4 2 open-end PH KOL_sLDPH",
                       "3 3 open-end LD KOL_sLDPH"};
    QTest::newRow("flag cleared on one side only, PS")
        << "3,3 KOL_sLSPS -PS; 4,3 KOL_sLSPS" << 2
        << QStringList{"3 3 division-mismatch PS KOL_sLSPS", "3 3 open-end LS KOL_sLSPS",
                       "4 3 open-end PS KOL_sLSPS"};
    QTest::newRow("flag cleared on one side only, PD")
        << "3,3 KOL_sLHPD -PD; 4,4 KOL_sLHPD" << 2
        << QStringList{"3 3 division-mismatch PD KOL_sLHPD", "3 3 open-end LH KOL_sLHPD",
                       "4 4 open-end PD KOL_sLHPD"};
    QTest::newRow("stacked, outside and unknown records")
        << "1,1 KOZ_sPS; 1,1 KOZ_sLS; 2,1 KOL_sLSPS; 2,1 KOL_sSDSH; 3,1 KOZ_sLS; -1,0 ZAR_CE_ZH;"
           "5,5 ZAR_BI_ZH; 5,5 ZAR_ZE_ZH; 10,0 STI_Cely_Dole; 7,7 KOL_sLSPX; 8,8 kol_sLSPS"
        << 1
        << QStringList{"-1 0 outside-panel - ZAR_CE_ZH", "10 0 outside-panel - STI_Cely_Dole",
                       "1 1 stacked - KOZ_sLS", "2 1 stacked - KOL_sSDSH", "5 5 stacked - ZAR_ZE_ZH",
                       "7 7 unknown-kind - KOL_sLSPX", "8 8 unknown-kind - kol_sLSPS"};
    // Signals look for track in their cell and the cells above and below;
    // signals, switch controllers and route buttons want a designation;
    // a kind on the wrong list is unknown there.
    QTest::newRow("desk elements")
        << "2,3 KOL_sLSPS; 2,2 NAV_HL_P 'S1; 2,4 NAV_PR_L 'Pr1; 3,3 TLA_VC; 3,3 KLI_Zamek 'K; 4,3 TLA_PC 'Se2;"
           "5,5 NAV_SE_L; 6,6 RAD_VYH; 7,7 POC_Obsluh; 8,8 TLA_RC; 1,8 NAV_HL_L 'L @tile;"
           "1,9 STI_Cely_Dole @desk; 11,1 TLA_SK 'x; 5,7 NAV_HL_L 'S3; 5,9 KOL_sLSPS"
        << 2
        << QStringList{"11 1 outside-panel - TLA_SK", "2 3 open-end LS KOL_sLSPS", "2 3 open-end PS KOL_sLSPS",
                       "3 3 no-designation - TLA_VC", "3 3 stacked - KLI_Zamek", "5 5 no-designation - NAV_SE_L",
                       "5 5 signal-without-track - NAV_SE_L", "6 6 no-designation - RAD_VYH",
                       "5 7 signal-without-track - NAV_HL_L", "1 8 unknown-kind - NAV_HL_L",
                       "1 9 unknown-kind - STI_Cely_Dole", "5 9 open-end LS KOL_sLSPS",
                       "5 9 open-end PS KOL_sLSPS"};
    QTest::newRow("panel edge")
        << "0,0 KOL_sLSPS; -1,0 KOL_sLSPS; 9,9 KOL_sLHPD; 10,10 KOL_sLHPD" << 2
        << QStringList{"-1 0 outside-panel - KOL_sLSPS", "0 0 open-end LS KOL_sLSPS",
                       "0 0 open-end PS KOL_sLSPS", "9 9 open-end LH KOL_sLHPD", "9 9 open-end PD KOL_sLHPD",
                       "10 10 outside-panel - KOL_sLHPD"};
}

void TestAnalysis::rules()
{
    QFETCH(QString, items);
    QFETCH(int, circuits);
    QFETCH(QStringList, problems);
    const StationData doc = station(items);
    LayoutAnalysis a;
    a.update(doc);
    QCOMPARE(problemLines(a), problems);
    QCOMPARE(a.circuitCount(), circuits);
    checkColouring(a, doc);
}

void TestAnalysis::boundarySides()
{
    // Each side of the boundary belongs to the run on its side, in that
    // run's colour, and the two runs differ.
    const StationData doc = station("1,1 KOZ_sPS; 2,1 KOL_sLSPS; 3,1 HKO_sLSPS; 4,1 KOL_sLSPS; 5,1 KOZ_sLS;"
                                    "3,4 HKO_sLDPH");
    LayoutAnalysis a;
    a.update(doc);
    const auto left = a.tileAt(2, 1);
    const auto boundary = a.tileAt(3, 1);
    const auto right = a.tileAt(4, 1);
    QVERIFY(left && boundary && right);
    QCOMPARE(boundary->circuit[0], left->circuit[0]);
    QCOMPARE(boundary->circuit[1], right->circuit[0]);
    QCOMPARE(boundary->colour[0], left->colour[0]);
    QCOMPARE(boundary->colour[1], right->colour[0]);
    QVERIFY(left->colour[0] != right->colour[0]);
    QCOMPARE(std::pair(int(boundary->dx), int(boundary->dy)), std::pair(1, 0));
    QCOMPARE(std::pair(int(left->dx), int(left->dy)), std::pair(0, 0));
    // From its LD point (first) to PH (second): right and up.
    const auto rising = a.tileAt(3, 4);
    QCOMPARE(std::pair(int(rising->dx), int(rising->dy)), std::pair(1, -1));
    QVERIFY(a.tileAt(0, 0) == std::nullopt);
}

void TestAnalysis::incrementalMatchesFull()
{
    // Random placements, replacements and removals (some keeping the
    // order) on a small panel, with
    // records outside it, stacked records and unknown names; after every
    // edit the followed result must equal a fresh analysis: the same
    // problems, the same number of circuits, the same partition of tile
    // sides into circuits, and a colouring that keeps neighbours apart.
    QRandomGenerator random(11);
    std::vector<QString> kinds;
    for (const KindInfo &k : allKinds())
        kinds.push_back(QString::fromLatin1(k.name));
    kinds.push_back(QStringLiteral("KOL_sLSPX"));
    const auto anyKind = [&] {
        // Mostly track, so that circuits grow long.
        const QString &k = kinds[random.bounded(int(kinds.size()))];
        return elementClassOf(k) == ElementClass::TrackTile || random.bounded(4) == 0 ? k : kinds[0];
    };
    StationData doc;
    doc.columns = 12;
    doc.rows = 10;
    LayoutAnalysis followed;
    int wholeChanges = 0;
    for (int step = 0; step < 2000; ++step) {
        const int op = random.bounded(100);
        const qint32 x = random.bounded(-1, 13);
        const qint32 y = random.bounded(-1, 11);
        const QString kind = anyKind();
        if (op < 2) {
            doc.tiles.shift(random.bounded(-1, 2), random.bounded(-1, 2));
            ++wholeChanges;
        } else if (elementClassOf(kind) == ElementClass::Lamp) {
            if (op < 60 || doc.lamps.isEmpty())
                doc.lamps.append(TPoleZarovka{x, y, 0, 0, kind});
            else
                doc.lamps.removeAt(random.bounded(int(doc.lamps.count())));
        } else if (elementClassOf(kind) == ElementClass::LabelPlate) {
            doc.plates.append(TPoleStitek{kind, x, y});
        } else if (elementClassOf(kind) == ElementClass::DeskElement) {
            // Signals beside track that comes and goes, with and without
            // designations.
            const TPolePrvek e{x, y, kind, random.bounded(2) ? QStringLiteral("S1") : QString()};
            if (op < 50 || doc.deskElements.isEmpty())
                doc.deskElements.append(e);
            else if (op < 75)
                doc.deskElements.replace(random.bounded(int(doc.deskElements.count())), e);
            else
                doc.deskElements.removeAt(random.bounded(int(doc.deskElements.count())));
        } else {
            TPolePanelu t = tile(x, y, kind);
            const quint32 flags = random.bounded(256u) | random.bounded(256u) | random.bounded(256u);
            bool *fields[] = {&t.Cont_LH, &t.Cont_LS, &t.Cont_LD, &t.Cont_SH,
                              &t.Cont_SD, &t.Cont_PH, &t.Cont_PS, &t.Cont_PD};
            for (int i = 0; i < 8; ++i)
                *fields[i] = flags & (1u << i);
            if (op < 55 || doc.tiles.isEmpty())
                doc.tiles.append(t);
            else if (op < 75)
                doc.tiles.replace(random.bounded(int(doc.tiles.count())), t);
            else if (op < 80 && doc.tiles.count() > 4) {
                // A paste undone and redone: one of the last records taken
                // out with the rest closing up, and now and then put back.
                const qint32 i = qint32(doc.tiles.count()) - 1 - random.bounded(4);
                const TPolePanelu taken = doc.tiles.at(i);
                doc.tiles.removeAll({i});
                if (random.bounded(2))
                    doc.tiles.insertAll({i}, {taken});
            } else
                doc.tiles.removeAt(random.bounded(int(doc.tiles.count())));
        }
        followed.update(doc);
        LayoutAnalysis fresh;
        fresh.update(doc);
        QCOMPARE(problemLines(followed), problemLines(fresh));
        QCOMPARE(followed.circuitCount(), fresh.circuitCount());
        std::map<qint32, qint32> there;
        std::map<qint32, qint32> back;
        for (qint32 cy = 0; cy < doc.rows; ++cy) {
            for (qint32 cx = 0; cx < doc.columns; ++cx) {
                const auto f = followed.tileAt(cx, cy);
                const auto r = fresh.tileAt(cx, cy);
                QCOMPARE(bool(f), bool(r));
                for (std::size_t side = 0; f && side < 2; ++side) {
                    QCOMPARE(there.emplace(f->circuit[side], r->circuit[side]).first->second, r->circuit[side]);
                    QCOMPARE(back.emplace(r->circuit[side], f->circuit[side]).first->second, f->circuit[side]);
                }
            }
        }
        checkColouring(followed, doc);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("after step %1").arg(step)));
    }
    // Single edits were followed, not analysed from scratch.
    QVERIFY(followed.fullAnalyses() <= quint64(1 + wholeChanges));
    QVERIFY(followed.circuitCount() > 5);
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "test_analysis.moc"
