#include "catalogue/ElementKinds.h"
#include "tools/ElementPictures.h"

#include <QFile>
#include <QSet>
#include <QTest>

#include <cmath>
#include <functional>

using namespace kalmor;

namespace {

constexpr int Side = 47;
constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Black = qRgb(0, 0, 0);

using Pixels = QSet<int>;
using Region = std::function<bool(int x, int y)>;

Pixels pixelsWhere(const Region &inside)
{
    Pixels out;
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            if (inside(x, y))
                out.insert(y * Side + x);
        }
    }
    return out;
}

Pixels pixelsOf(const QImage &image, const std::function<bool(QRgb)> &test)
{
    return pixelsWhere([&](int x, int y) { return test(image.pixel(x, y)); });
}

Pixels blackOf(const QString &name)
{
    return pixelsOf(drawElementPicture(name), [](QRgb c) { return c == Black; });
}

Pixels drawnOf(const QString &name)
{
    return pixelsOf(drawElementPicture(name), [](QRgb c) { return c != White; });
}

QImage resourcePicture(const QString &name)
{
    return QImage(QStringLiteral(":/elements/%1.png").arg(name)).convertToFormat(QImage::Format_RGB32);
}

QImage transposed(const QImage &image)
{
    QImage out(image.height(), image.width(), image.format());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            out.setPixel(y, x, image.pixel(x, y));
    }
    return out;
}

bool inHorizontal(int, int y) { return 19 <= y && y <= 27; }
bool inVertical(int x, int) { return 19 <= x && x <= 27; }
bool inRising(int x, int y) { return 40 <= x + y && x + y <= 52 && std::abs(x - y) <= 40; }
bool inFalling(int x, int y) { return std::abs(x - y) <= 6 && std::abs(x + y - 46) <= 40; }

// The straight KOL kind running between the same two border points as the
// segment "sXXYY", whichever order the segment spells them in.
QString kolKindOf(QStringView segment)
{
    const BorderPoints points = borderPointsOf(segment);
    for (const KindInfo &kind : allKinds()) {
        const QString name = QString::fromLatin1(kind.name);
        if (name.startsWith(u"KOL_") && borderPointsOf(name) == points)
            return name;
    }
    return {};
}

Pixels unionOfSegments(const QStringList &segments)
{
    Pixels out;
    for (const QString &segment : segments) {
        const QString kol = kolKindOf(segment);
        if (kol.isEmpty())
            return {};
        out += drawnOf(kol);
    }
    return out;
}

struct Average {
    double r = 0, g = 0, b = 0;
};

}  // namespace

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void committedPicturesMatchTheRules()
    {
        const QStringList names = elementPictureNames();
        QCOMPARE(names.size(), 88);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 88);
        for (const KindInfo &kind : allKinds())
            QVERIFY2(QFile::exists(QStringLiteral(":/elements/%1.png").arg(kind.name)), kind.name);
        for (const char *corner : CornerPieceNames)
            QVERIFY2(QFile::exists(QStringLiteral(":/elements/%1.png").arg(corner)), corner);

        for (const QString &name : names) {
            const QImage drawn = drawElementPicture(name);
            QVERIFY2(!drawn.isNull(), qPrintable(name));
            const QSize expected = name.startsWith(u"ZAR_") ? LampPictureSize : TrackPictureSize;
            QCOMPARE(drawn.size(), expected);
            QVERIFY2(resourcePicture(name) == drawn, qPrintable(name));
        }
        for (const QString &bad : {u"KOL_sLSXX"_qs, u"KOL_sLSLS"_qs, u"HKO_sLSPH"_qs, u"KOZ_sSS"_qs,
                                   u"Ruzek_SH"_qs, u"ZAR_XX_ZH"_qs, u"STI_Cely"_qs, u"kol_sLSPS"_qs, u""_qs,
                                   u"NAV_XX_P"_qs, u"PRU_TXT_P"_qs, u"tla_vc"_qs})
            QVERIFY2(drawElementPicture(bad).isNull(), qPrintable(bad));
    }

    void straightTracksAndCornerPieces()
    {
        QCOMPARE(blackOf(u"KOL_sLDPH"_qs).size(), 527);
        QCOMPARE(blackOf(u"KOL_sLHPD"_qs).size(), 527);
        QCOMPARE(blackOf(u"KOL_sSDSH"_qs).size(), 423);
        QCOMPARE(drawnOf(u"KOL_sLSPS"_qs), pixelsWhere(inHorizontal));
        QCOMPARE(blackOf(u"KOL_sSDSH"_qs), pixelsWhere(inVertical));
        QCOMPARE(blackOf(u"KOL_sLDPH"_qs), pixelsWhere(inRising));
        QCOMPARE(blackOf(u"KOL_sLHPD"_qs), pixelsWhere(inFalling));

        // Each corner piece fills the notch the square end of a diagonal
        // leaves in the diagonal's band, and nothing else.
        const QImage rising = drawElementPicture(u"KOL_sLDPH"_qs);
        const QImage falling = drawElementPicture(u"KOL_sLHPD"_qs);
        auto notch = [](const QImage &diagonal, const Region &side) {
            return pixelsWhere([&](int x, int y) {
                return diagonal.pixel(x, y) == White && side(x, y);
            });
        };
        const Pixels ph = notch(rising, [](int x, int y) { return 40 <= x + y && x + y <= 52 && x > y; });
        const Pixels ld = notch(rising, [](int x, int y) { return 40 <= x + y && x + y <= 52 && x < y; });
        const Pixels lh = notch(falling, [](int x, int y) { return std::abs(x - y) <= 6 && x + y < 46; });
        const Pixels pd = notch(falling, [](int x, int y) { return std::abs(x - y) <= 6 && x + y > 46; });
        const std::pair<const char *, Pixels> corners[] = {
            {"Ruzek_PH", ph}, {"Ruzek_LD", ld}, {"Ruzek_LH", lh}, {"Ruzek_PD", pd}};
        for (const auto &[name, expected] : corners) {
            QCOMPARE(expected.size(), 21);
            QCOMPARE(blackOf(QString::fromLatin1(name)), expected);
            QCOMPARE(drawnOf(QString::fromLatin1(name)), expected);
        }
        QVERIFY(blackOf(u"Ruzek_PH"_qs).contains(46));
        QVERIFY(blackOf(u"Ruzek_PD"_qs).contains(Side * Side - 1));
    }

    void stripeOfTheStraightHorizontalTrack()
    {
        const QImage image = drawElementPicture(u"KOL_sLSPS"_qs);
        Average sum;
        int count = 0;
        QSet<QRgb> shades;
        for (int y = 0; y < Side; ++y) {
            for (int x = 0; x < Side; ++x) {
                const QRgb c = image.pixel(x, y);
                const bool inStripe = y >= 21 && y <= 25 && x >= 5 && x <= 41
                                      && !((y == 21 || y == 25) && (x == 5 || x == 41));
                if (!inStripe) {
                    QCOMPARE(c, inHorizontal(x, y) ? Black : White);
                    continue;
                }
                for (const int channel : {qRed(c), qGreen(c), qBlue(c)}) {
                    QVERIFY(channel >= 29);
                    QVERIFY(channel <= 131);
                }
                sum.r += qRed(c);
                sum.g += qGreen(c);
                sum.b += qBlue(c);
                shades.insert(c);
                ++count;
            }
        }
        QCOMPARE(count, 5 * 37 - 4);
        QVERIFY(std::abs(sum.r / count - 76) < 4);
        QVERIFY(std::abs(sum.g / count - 71) < 4);
        QVERIFY(std::abs(sum.b / count - 67) < 4);
        QVERIFY2(shades.size() > 30, "the stripe is mottled");
    }

    void bentSegmentsAndKindsMadeOfSegments()
    {
        QCOMPARE(blackOf(u"KOL_sLSPH"_qs), pixelsWhere([](int x, int y) {
                     return (inHorizontal(x, y) && x + y <= 52) || (inRising(x, y) && y <= 27);
                 }));
        QCOMPARE(blackOf(u"KOL_sLDPS"_qs), pixelsWhere([](int x, int y) {
                     return (inRising(x, y) && y >= 19) || (inHorizontal(x, y) && x + y >= 40);
                 }));
        QCOMPARE(blackOf(u"KRI_sLSPS_sSDSH"_qs),
                 pixelsWhere([](int x, int y) { return inHorizontal(x, y) || inVertical(x, y); }));
        QCOMPARE(blackOf(u"KRI_sLDPH_sLHPD"_qs),
                 pixelsWhere([](int x, int y) { return inRising(x, y) || inFalling(x, y); }));

        const QString special = u"ANG_sLDPH_sSDSH_sLDSH_sSDLH"_qs;
        int checked = 0;
        for (const KindInfo &kind : allKinds()) {
            const QString name = QString::fromLatin1(kind.name);
            if (!QStringList{u"KRI"_qs, u"VYH"_qs, u"OBO"_qs, u"ANG"_qs}.contains(name.left(3)))
                continue;
            const QStringList segments = name.split(u'_').mid(1);
            const QStringList drawnSegments = name == special ? segments.mid(0, 3) : segments;
            QCOMPARE(blackOf(name), unionOfSegments(drawnSegments));
            if (name.startsWith(u"ANG_")) {
                // A double slip's bent connections lie inside its straight tracks.
                QCOMPARE(blackOf(name), unionOfSegments(segments.mid(0, 2)));
            }
            ++checked;
        }
        QCOMPARE(checked, 2 + 16 + 8 + 4);
        QVERIFY(unionOfSegments(QStringList{u"sLDPH"_qs, u"sSDSH"_qs, u"sSDLH"_qs}) != blackOf(special));
        QCOMPARE(drawElementPicture(special).pixel(2, 2), White);
    }

    void boundariesAndDeadEnds()
    {
        QCOMPARE(blackOf(u"HKO_sLSPS"_qs),
                 pixelsWhere([](int x, int y) { return inHorizontal(x, y) && (x < 17 || x > 29); }));
        QCOMPARE(blackOf(u"HKO_sLDPH"_qs),
                 pixelsWhere([](int x, int y) { return inRising(x, y) && std::abs(x - y) > 8; }));
        const QImage hkoH = drawElementPicture(u"HKO_sLSPS"_qs);
        const QImage hkoR = drawElementPicture(u"HKO_sLDPH"_qs);
        QCOMPARE(drawElementPicture(u"HKO_sSDSH"_qs), transposed(hkoH));
        QCOMPARE(drawElementPicture(u"HKO_sLHPD"_qs), hkoR.mirrored(false, true));

        const Pixels kozLs = blackOf(u"KOZ_sLS"_qs);
        QCOMPARE(kozLs, pixelsWhere([](int x, int y) {
                     return (inHorizontal(x, y) && x <= 26) || (21 <= x && x <= 26 && 13 <= y && y <= 33);
                 }));
        QCOMPARE(blackOf(u"KOZ_sLH"_qs), pixelsWhere([](int x, int y) {
                     return (inFalling(x, y) && x + y <= 52) || (inRising(x, y) && std::abs(x - y) <= 16);
                 }));
        // The other dead ends are mirror images of these two.
        const QImage ls = drawElementPicture(u"KOZ_sLS"_qs);
        const QImage lh = drawElementPicture(u"KOZ_sLH"_qs);
        QCOMPARE(drawElementPicture(u"KOZ_sPS"_qs), ls.mirrored(true, false));
        QCOMPARE(drawElementPicture(u"KOZ_sSH"_qs), transposed(ls));
        QCOMPARE(drawElementPicture(u"KOZ_sSD"_qs), transposed(ls).mirrored(false, true));
        QCOMPARE(drawElementPicture(u"KOZ_sPD"_qs), lh.mirrored(true, true));
        QCOMPARE(drawElementPicture(u"KOZ_sLD"_qs), lh.mirrored(false, true));
        QCOMPARE(drawElementPicture(u"KOZ_sPH"_qs), lh.mirrored(true, false));
    }

    void labelPlatesSitInTheirRows()
    {
        const std::pair<const char *, int> plates[] = {
            {"STI_Cely_Dole", 35}, {"STI_Cely_Nahore", 0}, {"STI_Cely_Uprostred", 18}};
        for (const auto &[name, top] : plates) {
            const QImage image = drawElementPicture(QString::fromLatin1(name));
            QCOMPARE(image.size(), TrackPictureSize);
            for (int y = 0; y < Side; ++y) {
                for (int x = 0; x < Side; ++x) {
                    const QRgb c = image.pixel(x, y);
                    const int row = y - top;
                    const bool screw = row >= 4 && row <= 7 && ((x >= 2 && x <= 5) || (x >= 41 && x <= 44));
                    if (row < 0 || row > 11 || (row == 11 && x == 0)) {
                        QVERIFY2(c == White, name);
                    } else if (row == 11) {
                        QVERIFY2(std::abs(qRed(c) - 92) <= 6 && std::abs(qGreen(c) - 92) <= 6
                                     && std::abs(qBlue(c) - 84) <= 6,
                                 name);
                    } else if (screw) {
                        QVERIFY2(qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110, name);
                        QVERIFY2(qRed(c) >= qBlue(c), name);
                    } else {
                        QVERIFY2(std::abs(qRed(c) - 240) <= 6 && std::abs(qGreen(c) - 239) <= 6
                                     && std::abs(qBlue(c) - 218) <= 6,
                                 name);
                    }
                }
            }
            // Nearly black head inside a lighter, brownish rim.
            const QRgb head = image.pixel(3, top + 5);
            const QRgb rim = image.pixel(2, top + 4);
            QVERIFY(qRed(head) < 40);
            QVERIFY(qRed(rim) > qRed(head));
            QVERIFY(qRed(rim) > qBlue(rim));
        }
    }

    // Each desk element shows the desk's colours at its characteristic
    // places, on a transparent ground, with no other colours than these;
    // a kind for the right is its kind for the left mirrored.
    void deskElementsShowTheirColours()
    {
        constexpr QRgb Red = qRgb(220, 0, 0), Green = qRgb(0, 170, 0), Yellow = qRgb(255, 190, 0),
                       Light = qRgb(240, 240, 240), Blue = qRgb(0, 90, 255), AtRest = qRgb(70, 70, 70),
                       Body = qRgb(40, 40, 40), Grey = qRgb(160, 160, 160);
        struct Dot {
            int x, y;
            QRgb colour;
        };
        // Signals: lamps in the head, the foot at the right end above a track
        // in the same cell, the lower cell free. Buttons and controllers by
        // their rings, faces, pointers and lamps.
        const QList<std::pair<QString, QList<Dot>>> table{
            {u"NAV_HL_L"_qs, {{18, 10, Red}, {29, 10, Green}, {23, 10, Body}, {41, 16, Body}, {23, 35, White}}},
            {u"NAV_HP_L"_qs, {{7, 10, Red}, {18, 10, Green}, {29, 10, Light}, {41, 16, Body}}},
            {u"NAV_SE_L"_qs, {{22, 10, Blue}, {31, 10, Light}, {10, 10, White}, {41, 16, Body}}},
            {u"NAV_PR_L"_qs, {{18, 10, Yellow}, {29, 10, Green}, {41, 16, Body}}},
            {u"TLA_VC"_qs, {{23, 7, Green}, {23, 18, Body}, {23, 40, White}}},
            {u"TLA_PC"_qs, {{23, 7, Light}, {23, 18, Body}}},
            {u"TLA_RC"_qs, {{23, 18, Red}, {23, 7, Red}}},
            {u"TLA_NUZ"_qs, {{15, 10, Red}, {10, 5, Black}, {31, 26, Light}}},
            {u"TLA_PN"_qs, {{23, 7, Red}, {23, 18, Light}}},
            {u"TLA_SK"_qs, {{23, 23, Grey}, {12, 35, Grey}, {6, 23, Black}}},
            {u"RAD_VYH"_qs,
             {{23, 18, Light}, {18, 28, Body}, {8, 8, Light}, {6, 6, AtRest}, {38, 8, Light}, {38, 6, AtRest}}},
            {u"RAD_2P"_qs, {{20, 18, Light}, {28, 26, Body}}},
            {u"POC_Obsluh"_qs, {{6, 20, Body}, {10, 14, Black}, {13, 16, Light}, {14, 19, Black}, {31, 22, Light}}},
            {u"KLI_Zamek"_qs, {{14, 22, Grey}, {21, 19, Black}, {21, 26, Black}, {39, 7, Light}}},
            {u"PRU_SIP_L"_qs, {{30, 23, Light}, {10, 18, Light}, {30, 18, White}, {44, 23, Black}}},
            {u"PRU_SOU"_qs, {{23, 23, Red}, {12, 23, Light}, {34, 23, Light}, {23, 10, White}}},
            {u"PRU_PRJ"_qs, {{23, 15, Light}, {11, 36, Light}, {23, 36, Red}, {35, 36, Yellow}}},
            {u"PRU_TXT"_qs, {{23, 23, Light}, {23, 14, Black}, {23, 8, White}}},
        };
        const QSet<QRgb> palette{White, Black, Red, Green, Yellow, Light, Blue, AtRest, Body, Grey};
        QStringList checked;
        for (const auto &[name, dots] : table) {
            const QImage image = resourcePicture(name);
            QCOMPARE(image.size(), TrackPictureSize);
            for (const Dot &dot : dots)
                QVERIFY2(image.pixel(dot.x, dot.y) == dot.colour,
                         qPrintable(u"%1 at %2, %3"_qs.arg(name).arg(dot.x).arg(dot.y)));
            for (const QPoint corner : {QPoint(0, 0), QPoint(46, 0), QPoint(0, 46), QPoint(46, 46)})
                QCOMPARE(image.pixel(corner), White);
            QVERIFY2(pixelsOf(image, [&](QRgb c) { return !palette.contains(c); }).isEmpty(), qPrintable(name));
            checked << name;
            if (name.endsWith(u"_L")) {
                const QString right = name.chopped(1) + u'P';
                QCOMPARE(resourcePicture(right), image.mirrored(true, false));
                checked << right;
            }
        }
        QStringList desk;
        for (const KindInfo &kind : allKinds()) {
            if (elementClassOf(QString::fromLatin1(kind.name)) == ElementClass::DeskElement)
                desk << QString::fromLatin1(kind.name);
        }
        checked.sort();
        desk.sort();
        QCOMPARE(checked, desk);
    }

    void lampsDifferInTheirLensTint()
    {
        const std::pair<const char *, Average> lamps[] = {{"ZAR_CE_ZH", {64, 47, 45}},
                                                          {"ZAR_OR_ZH", {67, 57, 46}},
                                                          {"ZAR_BI_ZH", {66, 63, 59}},
                                                          {"ZAR_ZE_ZH", {34, 37, 28}}};
        QList<Average> lenses;
        for (const auto &[name, target] : lamps) {
            const QImage image = drawElementPicture(QString::fromLatin1(name));
            QCOMPARE(image.size(), LampPictureSize);
            for (const QPoint corner : {QPoint(0, 0), QPoint(15, 0), QPoint(0, 14), QPoint(15, 14)})
                QCOMPARE(image.pixel(corner), White);
            Average lens;
            int count = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const double d = std::hypot(x - 7.5, y - 7.0);
                    const QRgb c = image.pixel(x, y);
                    if (d <= 6.8)
                        QVERIFY2(c != White && qGray(c) < 120, name);
                    if (d <= 4) {
                        lens.r += qRed(c);
                        lens.g += qGreen(c);
                        lens.b += qBlue(c);
                        ++count;
                    }
                }
            }
            lens = {lens.r / count, lens.g / count, lens.b / count};
            QVERIFY2(std::abs(lens.r - target.r) <= 6 && std::abs(lens.g - target.g) <= 6
                         && std::abs(lens.b - target.b) <= 6,
                     name);
            for (const Average &other : lenses) {
                const double distance =
                    std::abs(lens.r - other.r) + std::abs(lens.g - other.g) + std::abs(lens.b - other.b);
                QVERIFY2(distance > 8, name);
            }
            lenses << lens;
            // The body is darker than its rim.
            QVERIFY2(qGray(image.pixel(7, 1)) < qGray(image.pixel(2, 3)), name);
        }
    }
};

QTEST_GUILESS_MAIN(TestPictures)
#include "test_pictures.moc"
