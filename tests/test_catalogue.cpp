#include "catalogue/Assortment.h"
#include "catalogue/ElementKinds.h"
#include "catalogue/KindMirror.h"

#include <QSet>
#include <QTest>

using namespace kalmor;

namespace {

QStringList codes(BorderPoints set)
{
    QStringList out;
    for (const BorderPoint p : AllBorderPoints) {
        if (set.contains(p))
            out << borderPointCode(p);
    }
    return out;
}

}  // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void kindsAndClasses()
    {
        QCOMPARE(int(allKinds().size()), 61);
        QSet<QString> names;
        QHash<QString, int> perPrefix;
        for (const KindInfo &k : allKinds()) {
            const QString n = QString::fromLatin1(k.name);
            names.insert(n);
            perPrefix[n.left(3)]++;
            QVERIFY2(elementClassOf(n) != ElementClass::None, k.name);
            QCOMPARE(findKind(n), &k);
        }
        QCOMPARE(names.size(), 61);
        const QHash<QString, int> expected{{"KOL", 12}, {"KRI", 2}, {"VYH", 16}, {"OBO", 8}, {"ANG", 4},
                                           {"KOZ", 8}, {"HKO", 4}, {"ZAR", 4}, {"STI", 3}};
        QCOMPARE(perPrefix, expected);

        QCOMPARE(elementClassOf(u"Ruzek_LH"), ElementClass::None);
        QCOMPARE(elementClassOf(u"STI_Cely_Dole"), ElementClass::LabelPlate);
        QCOMPARE(elementClassOf(u"OBO_sLSPH_sSDPH"), ElementClass::TrackTile);
        QCOMPARE(elementClassOf(u"ZAR_xx"), ElementClass::Lamp);
        // The prefix is compared with letter case, and short names match nothing.
        QCOMPARE(elementClassOf(u"kol_sLSPS"), ElementClass::None);
        QCOMPARE(elementClassOf(u"KO"), ElementClass::None);
        QCOMPARE(elementClassOf(u""), ElementClass::None);
        QCOMPARE(findKind(u"kol_sLSPS"), nullptr);
    }

    void borderPoints()
    {
        QCOMPARE(codes(borderPointsOf(u"ANG_sLDPH_sSDSH_sLDSH_sSDLH")), (QStringList{"LH", "LD", "SH", "SD", "PH"}));
        for (const KindInfo &k : allKinds()) {
            const QString n = QString::fromLatin1(k.name);
            const int count = borderPointsOf(n).count();
            const QString prefix = n.left(3);
            if (n == "ANG_sLDPH_sSDSH_sLDSH_sSDLH")
                continue;
            if (prefix == "KRI" || prefix == "ANG")
                QCOMPARE(count, 4);
            else if (prefix == "VYH" || prefix == "OBO")
                QCOMPARE(count, 3);
            else if (prefix == "KOL" || prefix == "HKO")
                QCOMPARE(count, 2);
            else if (prefix == "KOZ")
                QCOMPARE(count, 1);
            else
                QCOMPARE(count, 0);
        }
        QCOMPARE(codes(borderPointsOf(u"KOZ_sPD")), QStringList{"PD"});
        QCOMPARE(codes(borderPointsOf(u"VYH_sLSPS_sLDPS")), (QStringList{"LS", "LD", "PS"}));
        QCOMPARE(codes(borderPointsOf(u"kol_slhpd")), (QStringList{"LH", "PD"}));  // letter case ignored
        QVERIFY(borderPointsOf(u"ZAR_BI_ZH").isEmpty());
        QVERIFY(borderPointsOf(u"STI_Cely_Uprostred").isEmpty());
        QCOMPARE(codes(borderPointsOf(u"Ruzek_PH")), QStringList{"PH"});
    }

    void pages()
    {
        const auto main = mainPages();
        const auto palette = palettePages();
        QCOMPARE(int(main.size()), 9);
        QCOMPARE(int(palette.size()), 8);
        QCOMPARE(main[1].caption, QStringLiteral("Výhybky 1"));
        QCOMPARE(int(main[1].kinds.size()), 12);
        QCOMPARE(int(main[2].kinds.size()), 16);
        const int vyh = palettePageIndex(u"SH_VYHYBKY1");
        QCOMPARE(palette[std::size_t(vyh)].caption, QStringLiteral("Výhybky"));
        QCOMPARE(int(palette[std::size_t(vyh)].kinds.size()), 28);
        int rows = 0;
        for (const KindInfo *k : palette[std::size_t(vyh)].kinds)
            rows = std::max(rows, k->paletteRow);
        QCOMPARE(rows, 5);

        // Every kind stands once in each assortment, first kinds lead their pages.
        int total = 0;
        for (const AssortmentPage &p : main) {
            total += int(p.kinds.size());
            QCOMPARE(p.firstKind == nullptr, p.kinds.empty());
            if (p.firstKind) {
                QCOMPARE(QLatin1StringView(p.kinds.front()->name), QLatin1StringView(p.firstKind));
                QVERIFY(p.frameName);
            }
        }
        QCOMPARE(total, 61);
        total = 0;
        for (const AssortmentPage &p : palette) {
            total += int(p.kinds.size());
            if (p.firstKind)
                QCOMPARE(QLatin1StringView(p.kinds.front()->name), QLatin1StringView(p.firstKind));
            QVERIFY(p.frameName == nullptr || QLatin1StringView(p.frameName) != "RamecekVolby_VYH2");
        }
        QCOMPARE(total, 61);
        QCOMPARE(mainPageIndex(u"TabSheet1"), 8);
        QCOMPARE(main[8].caption, QStringLiteral("Návěstidla"));

        // Layout: the first image of a page at (7, 7); palette rows 56 apart.
        QCOMPARE(mainImagePosition(*findKind(u"KOL_sLSPS")), QPoint(7, 7));
        QCOMPARE(mainImagePosition(*findKind(u"KRI_sLDPH_sLHPD")), QPoint(7 + 13 * 54, 7));
        QCOMPARE(paletteImagePosition(*findKind(u"OBO_sLSPH_sSDPH")), QPoint(7 + 3 * 54, 231));
    }

    // Every track kind has a partner of its own prefix for either axis,
    // mirroring twice gives the kind back, and the partner's border points
    // are the mirrored ones, except for the two double slips across the
    // vertical track, which the catalogue has no exact mirror of.
    void mirrorTable()
    {
        const QSet<QString> pairedByTracks{QStringLiteral("ANG_sLHPD_sSDSH_sLHSD_sSHPD"),
                                           QStringLiteral("ANG_sLDPH_sSDSH_sLDSH_sSDLH")};
        int trackKinds = 0;
        for (const KindInfo &k : allKinds()) {
            const QString name = QString::fromLatin1(k.name);
            if (elementClassOf(name) != ElementClass::TrackTile) {
                QVERIFY(!mirroredKind(name, MirrorAxis::LeftRight) && !mirroredKind(name, MirrorAxis::TopBottom));
                continue;
            }
            ++trackKinds;
            for (const MirrorAxis axis : {MirrorAxis::LeftRight, MirrorAxis::TopBottom}) {
                const auto partner = mirroredKind(name, axis);
                QVERIFY2(partner && findKind(*partner), k.name);
                QCOMPARE(partner->left(3), name.left(3));
                QCOMPARE(mirroredKind(*partner, axis), name);
                BorderPoints mirrored;
                for (const BorderPoint p : AllBorderPoints) {
                    if (borderPointsOf(name).contains(p))
                        mirrored.insert(mirroredPoint(p, axis));
                }
                if (pairedByTracks.contains(name))
                    QCOMPARE(pairedByTracks, (QSet<QString>{name, *partner}));
                else
                    QCOMPARE(codes(borderPointsOf(*partner)), codes(mirrored));
            }
        }
        QCOMPARE(trackKinds, 54);
        QCOMPARE(mirroredKind(QStringLiteral("VYH_sLSPS_sLDPS"), MirrorAxis::LeftRight),
                 QStringLiteral("VYH_sLSPS_sLSPD"));
        QCOMPARE(mirroredKind(QStringLiteral("KOL_sLDPH"), MirrorAxis::TopBottom), QStringLiteral("KOL_sLHPD"));
        QCOMPARE(mirroredKind(QStringLiteral("KOZ_sSH"), MirrorAxis::LeftRight), QStringLiteral("KOZ_sSH"));
        QVERIFY(!mirroredKind(QStringLiteral("kol_slsps"), MirrorAxis::LeftRight));
    }

    void cornerPartners()
    {
        QCOMPARE(QLatin1StringView(cornerPartnerOf(u"Ruzek_LH")->name), QLatin1StringView("Ruzek_PH"));
        QCOMPARE(cornerPartnerOf(u"Ruzek_LH")->dx, -1);
        QCOMPARE(QLatin1StringView(cornerPartnerOf(u"Ruzek_PD")->name), QLatin1StringView("Ruzek_LD"));
        QCOMPARE(cornerPartnerOf(u"Ruzek_PD")->dx, 1);
        QCOMPARE(cornerPartnerOf(u"Ruzek_LD")->dx, -1);
        QVERIFY(!cornerPartnerOf(u"ruzek_LH"));  // exact comparison
    }
};

QTEST_APPLESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
