#include "catalogue/Assortment.h"
#include "catalogue/DeskKinds.h"
#include "catalogue/ElementKinds.h"
#include "catalogue/KindMirror.h"

#include <QSet>
#include <QTest>

using namespace kalmor;

namespace {

// Roles written as the desk's kind table writes them: "in T; out ZE".
QString rolesText(std::span<const IoRole> roles)
{
    QStringList in, out;
    for (const IoRole &role : roles)
        (role.direction == IoDirection::In ? in : out) << QString::fromLatin1(role.code);
    QStringList parts;
    if (!in.isEmpty())
        parts << QStringLiteral("in ") + in.join(u' ');
    if (!out.isEmpty())
        parts << QStringLiteral("out ") + out.join(u' ');
    return parts.join(QStringLiteral("; "));
}

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
        QCOMPARE(int(allKinds().size()), 84);
        QSet<QString> names;
        QHash<QString, int> perPrefix;
        for (const KindInfo &k : allKinds()) {
            const QString n = QString::fromLatin1(k.name);
            names.insert(n);
            perPrefix[n.left(3)]++;
            QVERIFY2(elementClassOf(n) != ElementClass::None, k.name);
            QCOMPARE(findKind(n), &k);
        }
        QCOMPARE(names.size(), 84);
        const QHash<QString, int> expected{{"KOL", 12}, {"KRI", 2}, {"VYH", 16}, {"OBO", 8}, {"ANG", 4},
                                           {"KOZ", 8}, {"HKO", 4}, {"ZAR", 4}, {"STI", 3}, {"NAV", 8},
                                           {"TLA", 6}, {"RAD", 2}, {"POC", 1}, {"KLI", 1}, {"PRU", 5}};
        QCOMPARE(perPrefix, expected);

        QCOMPARE(elementClassOf(u"Ruzek_LH"), ElementClass::None);
        QCOMPARE(elementClassOf(u"STI_Cely_Dole"), ElementClass::LabelPlate);
        QCOMPARE(elementClassOf(u"OBO_sLSPH_sSDPH"), ElementClass::TrackTile);
        QCOMPARE(elementClassOf(u"ZAR_xx"), ElementClass::Lamp);
        for (const auto *desk : {u"NAV_HL_P", u"TLA_SK", u"RAD_2P", u"POC_Obsluh", u"KLI_Zamek", u"PRU_xx"})
            QCOMPARE(elementClassOf(desk), ElementClass::DeskElement);
        QCOMPARE(elementClassOf(u"nav_HL_L"), ElementClass::None);
        // The prefix is compared with letter case, and short names match nothing.
        QCOMPARE(elementClassOf(u"kol_sLSPS"), ElementClass::None);
        QCOMPARE(elementClassOf(u"KO"), ElementClass::None);
        QCOMPARE(elementClassOf(u""), ElementClass::None);
        QCOMPARE(findKind(u"kol_sLSPS"), nullptr);
    }

    // The desk elements: their order, descriptions and I/O roles as the
    // desk's kind table lists them; a lamp has the one output of its colour.
    void deskKindsAndRoles()
    {
        const QList<std::pair<QString, QString>> table{
            {"NAV_HL_L", "out CE ZE"}, {"NAV_HL_P", "out CE ZE"}, {"NAV_HP_L", "out CE ZE BI"},
            {"NAV_HP_P", "out CE ZE BI"}, {"NAV_SE_L", "out MO BI"}, {"NAV_SE_P", "out MO BI"},
            {"NAV_PR_L", "out ZL ZE"}, {"NAV_PR_P", "out ZL ZE"}, {"TLA_VC", "in T; out ZE"},
            {"TLA_PC", "in T; out BI"}, {"TLA_RC", "in T"}, {"TLA_NUZ", "in T; out BI"}, {"TLA_PN", "in T"},
            {"TLA_SK", "in T"}, {"RAD_VYH", "in PLUS MINUS; out PLUS MINUS PORUCHA"}, {"RAD_2P", "in A B"},
            {"POC_Obsluh", "out P"}, {"KLI_Zamek", "in K; out BI"}, {"PRU_SIP_L", "out BI"},
            {"PRU_SIP_P", "out BI"}, {"PRU_SOU", "out L P CE"}, {"PRU_PRJ", "out BI CE ZL"}, {"PRU_TXT", "out BI"}};
        QStringList inCatalogue;
        for (const KindInfo &k : allKinds()) {
            if (elementClassOf(QString::fromLatin1(k.name)) == ElementClass::DeskElement)
                inCatalogue << QString::fromLatin1(k.name);
        }
        QStringList listed, desk;
        QSet<QString> descriptions;
        for (const auto &[name, roles] : table) {
            listed << name;
            QCOMPARE(rolesText(ioRolesOf(name)), roles);
            descriptions.insert(deskKindDescription(name));
        }
        for (const DeskKindInfo &k : deskKinds())
            desk << QString::fromLatin1(k.name);
        QCOMPARE(inCatalogue, listed);
        QCOMPARE(desk, listed);
        QCOMPARE(descriptions.size(), 23);  // _L and _P apart, none empty
        QVERIFY(!descriptions.contains(QString()));
        QCOMPARE(deskKindDescription(u"TLA_NUZ"), QStringLiteral("tlačítko nouzového uvolnění"));
        QCOMPARE(deskKindDescription(u"NAV_HL_P"), QStringLiteral("hlavní návěstidlo (vpravo)"));

        QCOMPARE(rolesText(ioRolesOf(u"ZAR_OR_ZH")), QStringLiteral("out OR"));
        QCOMPARE(rolesText(ioRolesOf(u"ZAR_BI_ZH")), QStringLiteral("out BI"));
        QVERIFY(ioRolesOf(u"KOL_sLSPS").empty());
        QVERIFY(ioRolesOf(u"STI_Cely_Dole").empty());
        QVERIFY(ioRolesOf(u"nav_hl_l").empty());
        QVERIFY(deskKindDescription(u"ZAR_CE_ZH").isEmpty());
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
        QCOMPARE(total, 84);
        total = 0;
        for (const AssortmentPage &p : palette) {
            total += int(p.kinds.size());
            if (p.firstKind)
                QCOMPARE(QLatin1StringView(p.kinds.front()->name), QLatin1StringView(p.firstKind));
            QVERIFY(p.frameName == nullptr || QLatin1StringView(p.frameName) != "RamecekVolby_VYH2");
        }
        QCOMPARE(total, 84);
        QCOMPARE(mainPageIndex(u"TabSheet1"), 8);
        QCOMPARE(main[8].caption, QStringLiteral("Návěstidla"));

        // The desk pages hold their kinds in the catalogue's order, in one
        // row in the main window and in rows on the palette.
        const std::tuple<const char *, const char *, int, const char *, const char *> desk[] = {
            {"TabSheet2", "SH_OVLADANI", 10, "TLA_VC", "RamecekVolby_TLA"},
            {"TabSheet5", "SH_PRUSVITKY", 5, "PRU_SIP_L", "RamecekVolby_PRU"},
            {"TabSheet1", "SH_NAVESTIDLA", 8, "NAV_HL_L", "RamecekVolby_NAV"}};
        for (const auto &[mainName, paletteName, count, first, frame] : desk) {
            const AssortmentPage &m = main[std::size_t(mainPageIndex(QString::fromLatin1(mainName)))];
            const AssortmentPage &p = palette[std::size_t(palettePageIndex(QString::fromLatin1(paletteName)))];
            QCOMPARE(int(m.kinds.size()), count);
            QCOMPARE(m.kinds, p.kinds);
            QVERIFY(std::is_sorted(m.kinds.begin(), m.kinds.end()));  // the catalogue's order
            for (const AssortmentPage *page : {&m, &p}) {
                QCOMPARE(QLatin1StringView(page->firstKind), QLatin1StringView(first));
                QCOMPARE(QLatin1StringView(page->frameName), QLatin1StringView(frame));
            }
        }
        QCOMPARE(mainImagePosition(*findKind(u"KLI_Zamek")), QPoint(7 + 9 * 54, 7));
        QCOMPARE(paletteImagePosition(*findKind(u"KLI_Zamek")), QPoint(7 + 3 * 54, 63));
        QCOMPARE(paletteImagePosition(*findKind(u"NAV_SE_L")), QPoint(7, 63));

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
        int deskKinds = 0;
        for (const KindInfo &k : allKinds()) {
            const QString name = QString::fromLatin1(k.name);
            if (elementClassOf(name) == ElementClass::DeskElement) {
                // _L and _P swap left-right; all else is its own mirror image.
                QString partner = name;
                if (name.endsWith(u"_L") || name.endsWith(u"_P"))
                    partner.back() = name.endsWith(u"_L") ? u'P' : u'L';
                QVERIFY2(findKind(partner), k.name);
                QCOMPARE(mirroredKind(name, MirrorAxis::LeftRight), partner);
                QCOMPARE(mirroredKind(name, MirrorAxis::TopBottom), name);
                ++deskKinds;
                continue;
            }
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
        QCOMPARE(deskKinds, 23);
        QCOMPARE(mirroredKind(QStringLiteral("NAV_HP_L"), MirrorAxis::LeftRight), QStringLiteral("NAV_HP_P"));
        QCOMPARE(mirroredKind(QStringLiteral("PRU_SIP_P"), MirrorAxis::LeftRight), QStringLiteral("PRU_SIP_L"));
        QVERIFY(!mirroredKind(QStringLiteral("nav_hp_l"), MirrorAxis::LeftRight));
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
