#include "document/IoAddress.h"
#include "document/StationFile.h"
#include "document/StationText.h"
#include "document/ValueConversions.h"
#include "document/Windows1250.h"
#include "support/ReadBothWays.h"
#include "support/StationBytes.h"

#include <QDir>
#include <QRandomGenerator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

using namespace kalmor;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Every read is made at once and in blocks on several threads, which
// must agree.
StationData read(const QByteArray &bytes, QString *error = nullptr, StationData start = {})
{
    const FileResult r = readBothWays(bytes, start);
    if (error)
        *error = r.error;
    else if (!r.ok())
        qWarning() << "unexpected read error" << r.error;
    return start;
}

}  // namespace

class TestStationFile : public QObject {
    Q_OBJECT
private slots:
    void newStationBytes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("nova.stvx"));
        StationData d;
        d.columns = 100;  // as after New
        int empty = 0, begun = 0;
        const FileResult r = writeStationFile(path, d, {[&] { ++empty; }, [&](qsizetype) { ++begun; }, {}, {}});
        QVERIFY(r.ok());
        QCOMPARE(empty, 1);
        QCOMPARE(begun, 0);
        QCOMPARE(readAll(path), QByteArray("SET_Vyska;50\r\nSET_Sirka;100\r\nSET_Stanice;\r\nSET_Autor;\r\n"
                                           "SET_Verze;\r\nSET_Popis;\r\nSET_Vydano;\r\nSET_BarvaPanelu;clMedGray\r\n"));

        // Reading it back over other values empties the texts and resets the colour.
        StationData other;
        other.stationName = QStringLiteral("x");
        other.backgroundColour = clGray;
        QVERIFY(readStationFile(path, other).ok());
        QVERIFY(other.stationName.isEmpty());
        QCOMPARE(other.backgroundColour, clMedGray);
        QCOMPARE(other.columns, 100);
    }

    void elementLinesOfEveryClass()
    {
        TPolePanelu t;
        t.X = 12;
        t.Y = 3;
        t.NAME = QStringLiteral("KOL_sLSPS");
        t.Cont_LS = t.Cont_PS = true;
        QCOMPARE(tileLine(t), QByteArray("PRUSVITKA;X=12;Y=3;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;"
                                         "Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n"));
        QCOMPARE(lampLine({-4, 7, 31, 32, QStringLiteral("ZAR_CE_ZH")}),
                 QByteArray("ZAROVKA;X=-4;Y=7;NAME=ZAR_CE_ZH;ODSAZENI_X=31;ODSAZENI_Y=32\r\n"));
        QCOMPARE(plateLine({QStringLiteral("STI_Cely_Dole"), 0, 2147483647}),
                 QByteArray("STITEK;X=0;Y=2147483647;NAME=STI_Cely_Dole\r\n"));
        // Numbers of every length, and the edges between them.
        QCOMPARE(lampLine({100, 999, 1000, 1099, QStringLiteral("ZAR_BI_ZH")}),
                 QByteArray("ZAROVKA;X=100;Y=999;NAME=ZAR_BI_ZH;ODSAZENI_X=1000;ODSAZENI_Y=1099\r\n"));
        QCOMPARE(lampLine({9999, 10000, -1, -2147483647 - 1, QStringLiteral("ZAR_BI_ZH")}),
                 QByteArray("ZAROVKA;X=9999;Y=10000;NAME=ZAR_BI_ZH;ODSAZENI_X=-1;ODSAZENI_Y=-2147483648\r\n"));

        // A whole station: tiles, then lamps, then plates, each in list order,
        // with progress after every line.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.stvx"));
        StationData d;
        d.plates.append({QStringLiteral("STI_Cely_Nahore"), 1, 1});
        d.lamps.append({2, 2, 0, 47, QStringLiteral("ZAR_BI_ZH")});
        d.tiles.append(t);
        t.X = 13;
        t.Cont_LH = true;
        d.tiles.append(t);
        qsizetype total = 0;
        int steps = 0, ended = 0;
        QVERIFY(writeStationFile(path, d, {{}, [&](qsizetype n) { total = n; }, [&] { ++steps; }, [&] { ++ended; }}).ok());
        QCOMPARE(total, 4);
        QCOMPARE(steps, 4);
        QCOMPARE(ended, 1);
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.startsWith(settingLines(d)));
        QCOMPARE(bytes.mid(settingLines(d).size()),
                 tileLine(d.tiles.at(0)) + tileLine(d.tiles.at(1)) + lampLine(d.lamps.at(0)) + plateLine(d.plates.at(0)));
        StationData back;
        QVERIFY(readStationFile(path, back).ok());
        QCOMPARE(back.tiles.count(), 2);
        QCOMPARE(back.tiles.at(1), d.tiles.at(1));
        QCOMPARE(back.lamps.at(0), d.lamps.at(0));
        QCOMPARE(back.plates.at(0), d.plates.at(0));
    }

    // Addresses on lamps and areas after every element line round-trip
    // byte for byte; a line without them is written as before, and what a
    // hand may write (keys this reader does not know, a role twice, a
    // trailing comma, an area among the elements) still reads.
    void addressesAndAreas()
    {
        TPoleZarovka lamp{3, 4, 15, 16, QStringLiteral("ZAR_CE_ZH")};
        const QByteArray plain = lampLine(lamp);
        QCOMPARE(plain, QByteArray("ZAROVKA;X=3;Y=4;NAME=ZAR_CE_ZH;ODSAZENI_X=15;ODSAZENI_Y=16\r\n"));
        lamp.IO.set(*IoRoleCode::from("CE"), IoAddress{3, 1});
        lamp.IO.set(*IoRoleCode::from("PLUS_V"), IoAddress{9999, 9999});
        QCOMPARE(lampLine(lamp), QByteArray("ZAROVKA;X=3;Y=4;NAME=ZAR_CE_ZH;ODSAZENI_X=15;ODSAZENI_Y=16;"
                                            "IO=CE:3.1,PLUS_V:9999.9999\r\n"));
        lamp.IO.set(*IoRoleCode::from("PLUS_V"), std::nullopt);
        QCOMPARE(lampLine(lamp), plain.chopped(2) + ";IO=CE:3.1\r\n");
        lamp.IO.set(*IoRoleCode::from("CE"), std::nullopt);
        QVERIFY(lamp.IO.isEmpty() && lampLine(lamp) == plain);

        StationData d;
        d.lamps.append({1, 1, 0, 0, QStringLiteral("ZAR_ZE_ZH")});
        TPoleZarovka wired{2, 1, 0, 0, QStringLiteral("ZAR_CE_ZH")};
        wired.IO.set(*IoRoleCode::from("CE"), IoAddress{2, 17});
        d.lamps.append(wired);
        d.areas.append({0, 0, 40, 30, QStringLiteral("Zhlaví A")});
        d.areas.append({-2, 5, 1, 1, QStringLiteral("mimo")});
        const QByteArray bytes = stationBytes(d);
        QVERIFY(bytes.endsWith("ODSAZENI_Y=0;IO=CE:2.17\r\nOBLAST;X=0;Y=0;SIRKA=40;VYSKA=30;NAME=Zhlav\xED A\r\n"
                               "OBLAST;X=-2;Y=5;SIRKA=1;VYSKA=1;NAME=mimo\r\n"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("w.stvx"));
        QVERIFY(writeStationFile(path, d).ok());
        QCOMPARE(readAll(path), bytes);
        QCOMPARE(stationBytes(read(bytes)), bytes);
        // No element: the areas are still written, after the settings.
        d.lamps.clear();
        QVERIFY(writeStationFile(path, d).ok());
        QCOMPARE(readAll(path), settingLines(d) + areaLines(d));

        const StationData hand = read("OBLAST;X=1;Y=2;SIRKA=3;VYSKA=4;NAME=A;B\r\n"
                                      "ZAROVKA;X=1;Y=1;NAME=ZAR_BI_ZH;ODSAZENI_X=0;ODSAZENI_Y=0;TEXT=x;"
                                      "IO=BI:1.2,BI:$10.3,,\r\n"
                                      "ZAROVKA;X=1;Y=2;NAME=ZAR_BI_ZH;ODSAZENI_X=0;ODSAZENI_Y=0;IO=\r\n"
                                      "OBLAST;X=7\r\n");
        QCOMPARE(hand.lamps.at(0).IO.find("BI"), (IoAddress{16, 3}));
        QCOMPARE(hand.lamps.at(0).IO.entries().size(), std::size_t(1));
        QVERIFY(hand.lamps.at(1).IO.isEmpty());
        QCOMPARE(hand.areas.at(0), (TOblast{1, 2, 3, 4, QStringLiteral("A")}));
        QCOMPARE(hand.areas.at(1), (TOblast{7, 0, 0, 0, {}}));
        // A file of areas alone is a station still.
        QString error;
        QCOMPARE(read("OBLAST;X=1;Y=2;SIRKA=3;VYSKA=4;NAME=A\r\n", &error).areas.count(), 1);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void largeStationWrittenLineForLine()
    {
        // Pieces formatted on several threads, borders between the lists
        // inside a piece, kind names with the same text in separate
        // storage, and now and then a name long enough to outgrow a
        // piece's room: the file must still be the lines one after another.
        QRandomGenerator random(14);
        const QStringList names{QStringLiteral("KOL_sLSPS"), QStringLiteral("Žluťoučký kůň"), QString(),
                                QString(1 << 20, QLatin1Char('K'))};
        const auto name = [&](int i) {
            const QString &n = names.at(i % 5000 == 4999 ? 3 : int(random.bounded(3)));
            return random.bounded(2) ? n : QString(n.constData(), n.size());
        };
        const auto number = [&] { return random.bounded(2) ? qint32(random.generate()) : random.bounded(-100, 20000); };
        StationData d;
        for (int i = 0; i < 30000; ++i) {
            const quint32 f = random.generate();
            d.tiles.append({number(), number(), bool(f & 1), bool(f & 2), bool(f & 4), bool(f & 8), bool(f & 16),
                            bool(f & 32), bool(f & 64), bool(f & 128), name(i)});
        }
        // Plates with and without texts, some long enough to outgrow a piece.
        const QStringList texts{QString(), QStringLiteral("Kolej 1a"), QStringLiteral("Stanice Dolní Lhota"),
                                QString(1 << 20, QLatin1Char('T'))};
        for (int i = 0; i < 10000; ++i) {
            d.lamps.append({number(), number(), number(), number(), name(i)});
            d.plates.append({name(i), number(), number(), texts.at(i % 3001 == 3000 ? 3 : int(random.bounded(3)))});
        }
        // Desk elements after them, with and without designations and
        // addresses, the longest addresses a role can have among them.
        for (int i = 0; i < 10000; ++i) {
            TPolePrvek p{number(), number(), name(i), texts.at(i % 4001 == 4000 ? 3 : int(random.bounded(3)))};
            for (const char *role : {"CE", "PORUCHA", "T"}) {
                if (random.bounded(3) == 0)
                    p.IO.set(*IoRoleCode::from(role), IoAddress{quint16(random.bounded(1, 10000)), 9999});
            }
            d.deskElements.append(std::move(p));
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("velka.stvx"));
        int steps = 0;
        QVERIFY(writeStationFile(path, d, {{}, {}, [&] { ++steps; }, {}}).ok());
        QCOMPARE(steps, 60000);
        QVERIFY(readAll(path) == stationBytes(d));
        StationData back;
        QVERIFY(readStationFile(path, back).ok());
        const auto same = [](const auto &a, const auto &b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); };
        QVERIFY(same(back.tiles, d.tiles) && same(back.lamps, d.lamps) && same(back.plates, d.plates));
        QVERIFY(same(back.deskElements, d.deskElements));
    }

    // Desk elements: keyed fields after the name, each only when it holds
    // something, TEXT before IO; read in any order and among other lines,
    // unknown keys passed over, bad numbers stopping the read.
    void deskElementLines()
    {
        TPolePrvek p{12, 4, QStringLiteral("NAV_HL_P")};
        QCOMPARE(deskElementLine(p), QByteArray("PRVEK;X=12;Y=4;NAME=NAV_HL_P\r\n"));
        p.IO.set(*IoRoleCode::from("CE"), IoAddress{2, 17});
        QCOMPARE(deskElementLine(p), QByteArray("PRVEK;X=12;Y=4;NAME=NAV_HL_P;IO=CE:2.17\r\n"));
        p.TEXT = QStringLiteral("Se12");
        p.IO.set(*IoRoleCode::from("ZE"), IoAddress{2, 18});
        QCOMPARE(deskElementLine(p), QByteArray("PRVEK;X=12;Y=4;NAME=NAV_HL_P;TEXT=Se12;IO=CE:2.17,ZE:2.18\r\n"));

        // A file of desk elements alone is a station; an older order of
        // lines and of fields reads, and a save writes it in its own order.
        const QByteArray lines = "PRVEK;X=1;Y=2;NAME=TLA_VC;IO=T:1.1,ZE:1.2;TEXT=Doln\xED\r\n"
                                 "PRVEK;X=3;Y=2;NAME=RAD_VYH;NAPIS=x;TEXT=5\r\n"
                                 "STITEK;X=6;Y=6;NAME=STI_Cely_Dole\r\n"
                                 "PRVEK;X=4;Y=2;NAME=POC_Obsluh;TEXT=;IO=\r\n"
                                 "PRVEK;X=5;Y=2\r\n";
        for (const QByteArray &file : {lines, lines.first(lines.indexOf("STITEK"))}) {
            QString error;
            read(file, &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        const StationData d = read(lines);
        QCOMPARE(d.deskElements.count(), 4);
        QCOMPARE(d.deskElements.at(0).TEXT, QStringLiteral("Dolní"));
        QCOMPARE(d.deskElements.at(0).IO.find("ZE"), std::optional(IoAddress{1, 2}));
        QCOMPARE(stationBytes(d).mid(settingLines(d).size()),
                 QByteArray("STITEK;X=6;Y=6;NAME=STI_Cely_Dole\r\n"
                            "PRVEK;X=1;Y=2;NAME=TLA_VC;TEXT=Doln\xED;IO=T:1.1,ZE:1.2\r\n"
                            "PRVEK;X=3;Y=2;NAME=RAD_VYH;TEXT=5\r\n"
                            "PRVEK;X=4;Y=2;NAME=POC_Obsluh\r\n"
                            "PRVEK;X=5;Y=2;NAME=\r\n"));
        QCOMPARE(read("OBLAST;X=0;Y=0;SIRKA=4;VYSKA=4;NAME=A\r\n").hasAnyElement(), false);
        // A panel of desk elements alone is no empty panel: they are saved.
        StationData deskOnly;
        deskOnly.deskElements.append(p);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pult.stvx"));
        int empty = 0;
        QVERIFY(writeStationFile(path, deskOnly, {[&] { ++empty; }, {}, {}, {}}).ok());
        QCOMPARE(empty, 0);
        QCOMPARE(readAll(path), settingLines(deskOnly) + deskElementLine(p));

        // A bad number stops the read at its line with the usual message.
        const QByteArray start = "PRVEK;X=1;Y=1;NAME=TLA_VC\r\n";
        const QList<std::pair<QByteArray, QString>> bad{
            {"PRVEK;X=1;Y=zwei;NAME=TLA_VC", invalidIntegerMessage(QStringLiteral("zwei"))},
            {"PRVEK;X=1;Y=2;NAME=TLA_VC;IO=T:1.x", invalidIntegerMessage(QStringLiteral("x"))},
            {"PRVEK;X=1;Y=2;NAME=TLA_VC;IO=T:0.1", invalidIoAddressMessage(QStringLiteral("T:0.1"))},
        };
        for (const auto &[line, message] : bad) {
            StationData partial;
            const FileResult r = readStationBytes(start + line + "\r\n", partial);
            QCOMPARE(r.error, message);
            QCOMPARE(r.line, qsizetype(2));
        }
    }

    // A plate's text is a field of its own after the name, only when there
    // is one; the reader takes it from the fourth field when it is keyed so.
    void plateTexts()
    {
        QCOMPARE(plateLine({QStringLiteral("STI_Cely_Dole"), 6, 6}), QByteArray("STITEK;X=6;Y=6;NAME=STI_Cely_Dole\r\n"));
        QCOMPARE(plateLine({QStringLiteral("STI_Cely_Dole"), 6, 6, QStringLiteral("Kolej 1")}),
                 QByteArray("STITEK;X=6;Y=6;NAME=STI_Cely_Dole;TEXT=Kolej 1\r\n"));
        const QByteArray lines = "STITEK;X=6;Y=6;NAME=STI_Cely_Dole;TEXT=Stanice Doln\xED Lhota\r\n"
                                 "STITEK;X=6;Y=7;NAME=STI_Cely_Dole\r\n"
                                 "STITEK;X=6;Y=8;NAME=STI_Cely_Dole;NAPIS=S1\r\n"
                                 "STITEK;X=6;Y=9;NAME=STI_Cely_Dole;TEXT=\r\n"
                                 "STITEK;X=6;Y=10;NAME=STI_Cely_Dole;text=S1\r\n"
                                 "STITEK;X=6;Y=11;NAME=STI_Cely_Nahore;TEXT=S1;dal\xB9\xED\r\n";
        const StationData d = read(settingLines(StationData{}) + lines);
        QStringList texts;
        for (const TPoleStitek &s : d.plates)
            texts << s.TEXT;
        QCOMPARE(texts, (QStringList{QStringLiteral("Stanice Dolní Lhota"), QString(), QString(), QString(), QString(),
                                     QStringLiteral("S1")}));
        // Written again: the texts as they were read, nothing for the others.
        QCOMPARE(stationBytes(d).mid(settingLines(d).size()),
                 QByteArray("STITEK;X=6;Y=6;NAME=STI_Cely_Dole;TEXT=Stanice Doln\xED Lhota\r\n"
                            "STITEK;X=6;Y=7;NAME=STI_Cely_Dole\r\n"
                            "STITEK;X=6;Y=8;NAME=STI_Cely_Dole\r\n"
                            "STITEK;X=6;Y=9;NAME=STI_Cely_Dole\r\n"
                            "STITEK;X=6;Y=10;NAME=STI_Cely_Dole\r\n"
                            "STITEK;X=6;Y=11;NAME=STI_Cely_Nahore;TEXT=S1\r\n"));
        // What a text may hold: what the file keeps as it was typed.
        QVERIFY(isStationText(QStringLiteral("Kolej 1a – Ř")));
        for (const QString &refused : {QStringLiteral("a;b"), QStringLiteral("a\nb"), QStringLiteral("S→1")})
            QVERIFY(!isStationText(refused));
    }

    void czechTextsRoundTrip()
    {
        const QString name = QStringLiteral("Žluťoučký kůň úpěl ďábelské ódy – „Ř“ €");
        QCOMPARE(encodeWindows1250(QStringLiteral("Žď€")), QByteArray("\x8E\xEF\x80"));
        QCOMPARE(decodeWindows1250(encodeWindows1250(name)), name);
        QVERIFY(isWindows1250Text(name));
        QVERIFY(!isWindows1250Text(QStringLiteral("日本")));
        QCOMPARE(encodeWindows1250(QStringLiteral("a日")), QByteArray("a?"));
        // Every byte survives decoding and encoding again.
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(encodeWindows1250(decodeWindows1250(all)), all);

        StationData d;
        d.stationName = name;
        d.author = QStringLiteral("Jiří Čermák");
        d.version = QStringLiteral("1.0");
        d.description = QStringLiteral("Výhybna Šťáhlavy");
        d.issueDate = QStringLiteral("08.12.2026");
        d.backgroundColour = rgbColour(255, 128, 0);
        const QByteArray lines = settingLines(d);
        QVERIFY(lines.contains("SET_Autor;Ji\xF8\xED \xC8\x65rm\xE1k\r\n"));
        QVERIFY(lines.contains("SET_BarvaPanelu;$000080FF\r\n"));
        const StationData back = read(lines);
        QCOMPARE(back.stationName, name);
        QCOMPARE(back.author, d.author);
        QCOMPARE(back.description, d.description);
        QCOMPARE(back.issueDate, d.issueDate);
        QCOMPARE(back.backgroundColour, d.backgroundColour);
    }

    void readerTolerance()
    {
        // Fields by position, short lines, keys not checked.
        StationData d = read("PRUSVITKA;Y=2;X=1\r\n"
                             "PRUSVITKA;X=1;Y=2;NAME=KOL_sLSPS\r\n"
                             "PRUSVITKA;X=1;Y=2;NAME=KOL_sLSPS;Cont_LH=1;xxxxxxx=0;Cont_LD=true;Cont_SH=FALSE;Cont_SD=0.5\r\n"
                             "ZAROVKA;X=3;Y=4;N;ODSAZENI_X=$1F\r\n"
                             "STITEK;X=5;Y=6;NAME=STI_Cely_Dole;extra;fields\r\n"
                             "PRUSVITKA\r\n");
        QCOMPARE(d.tiles.count(), 4);
        QCOMPARE(d.tiles.at(0).X, 2);
        QCOMPARE(d.tiles.at(0).Y, 1);
        QVERIFY(d.tiles.at(0).NAME.isEmpty());
        const TPolePanelu &t = d.tiles.at(2);
        QVERIFY(t.Cont_LH && !t.Cont_LS && t.Cont_LD && !t.Cont_SH && t.Cont_SD && !t.Cont_PD);
        QVERIFY(!d.tiles.at(1).Cont_LH && !d.tiles.at(1).Cont_PS);
        QCOMPARE(d.tiles.at(3), TPolePanelu());
        QCOMPARE(d.lamps.at(0).ODSAZENI_X, 31);
        QVERIFY(d.lamps.at(0).NAME.isEmpty());  // "N" is shorter than "NAME="
        QCOMPARE(d.plates.at(0).NAME, QStringLiteral("STI_Cely_Dole"));
        QCOMPARE(d.tiles.firstAt(1, 2), 1);  // two tiles on one cell are both kept

        // Unknown and differently cased keys, blank lines, lone CR, LF-only
        // lines, a last line without its end, Ctrl-Z.
        StationData start;
        start.rows = 33;
        start.author = QStringLiteral("kept");
        d = read("set_vyska;60\r\n\r\nNONSENSE;1\n;SET_Sirka;1\r\nSET_Sta\rnice;A;B\r\r\n"
                 "SET_Sirka;  77\r\nSET_Sirka;200\nSET_BarvaPanelu;CLMEDGRAY\r\nSET_Verze;v\x1ASET_Autor;lost\r\n",
                 nullptr, start);
        QCOMPARE(d.rows, 33);  // missing settings keep their values
        QCOMPARE(d.author, QStringLiteral("kept"));
        QCOMPARE(d.stationName, QStringLiteral("A"));  // cut at ";", lone CR dropped
        QCOMPARE(d.columns, 200);  // the later line wins
        QCOMPARE(d.backgroundColour, clMedGray);
        QCOMPARE(d.version, QStringLiteral("v"));
        d = read("SET_Stanice;x\r\nSET_Verze;1.2");
        QCOMPARE(d.version, QStringLiteral("1.2"));
        d = read("SET_Stanice");
        QVERIFY(d.stationName.isEmpty());

        // Rows and columns are clamped; colours read as integers too.
        d = read("SET_Vyska;5\r\nSET_Sirka;5000\r\nSET_BarvaPanelu;10789024\r\n");
        QCOMPARE(d.rows, 10);
        QCOMPARE(d.columns, 4000);
        QCOMPARE(d.backgroundColour, clMedGray);
        QCOMPARE(read("SET_BarvaPanelu;$00A4A0A0").backgroundColour, clMedGray);
        QCOMPARE(read("SET_BarvaPanelu;clBtnFace").backgroundColour, 0xFF00000Fu);

        // An empty file keeps every setting and empties the lists.
        start.tiles.append({});
        d = read("", nullptr, start);
        QCOMPARE(d.rows, 33);
        QVERIFY(!d.hasAnyElement());
    }

    void conversions()
    {
        QCOMPARE(parseInteger(QByteArrayView(" 60")), 60);
        QCOMPARE(parseInteger(QByteArrayView("+7")), 7);
        QCOMPARE(parseInteger(QByteArrayView("-2147483648")), std::numeric_limits<qint32>::min());
        QCOMPARE(parseInteger(QByteArrayView("2147483647")), std::numeric_limits<qint32>::max());
        QCOMPARE(parseInteger(QByteArrayView("$FFFFFFFF")), -1);
        QCOMPARE(parseInteger(QByteArrayView("0x1f")), 31);
        QCOMPARE(parseInteger(QByteArrayView("X10")), 16);
        QCOMPARE(parseInteger(QByteArrayView("-$10")), -16);
        QCOMPARE(parseInteger(QByteArrayView("007")), 7);
        for (const char *bad : {"", " ", "60 ", "2147483648", "-2147483649", "$", "0x", "$100000000", "1e3", "abc", "--1", "1-"})
            QVERIFY2(!parseInteger(QByteArrayView(bad)), bad);
        QCOMPARE(parseInteger(QStringView(u"12")), 12);
        QVERIFY(!parseInteger(QStringView(u"1²")));
        QCOMPARE(parseBoolean("-1"), true);
        QCOMPARE(parseBoolean("0"), false);
        QCOMPARE(parseBoolean("tRUE"), true);
        QCOMPARE(parseBoolean("false"), false);
        QCOMPARE(parseBoolean("0.0"), false);
        for (const char *bad : {"", "yes", "T", "1 "})
            QVERIFY2(!parseBoolean(bad), bad);
        QCOMPARE(integerToText(-2147483648LL), QByteArray("-2147483648"));
        QCOMPARE(colourToText(rgbColour(255, 128, 0)), QByteArray("$000080FF"));
        QCOMPARE(colourToText(0xFF00000F), QByteArray("clBtnFace"));
        QCOMPARE(colourToText(0x12345678), QByteArray("$12345678"));
        QCOMPARE(colourToText(clMedGray), QByteArray("clMedGray"));
        // Every identifier reads back to its own value.
        for (const ColourName &n : colourNames())
            QCOMPARE(colourFromText(colourToText(n.value)), n.value);
    }

    void conversionMessages()
    {
        const struct {
            QByteArray line;
            QString message;
        } cases[] = {
            {"SET_Vyska;abc", "'abc' is not a valid integer value"},
            {"SET_Sirka;60 ", "'60 ' is not a valid integer value"},
            {"SET_BarvaPanelu;clNope", "'clNope' is not a valid integer value"},
            {"PRUSVITKA;X=1;Y=2;NAME=KOL_sLSPS;Cont_LH=yes", "'yes' is not a valid boolean value"},
            {"PRUSVITKA;X=;Y=2", "'' is not a valid integer value"},
            {"ZAROVKA;X=1;Y=1;NAME=Z;ODSAZENI_X=1;ODSAZENI_Y=1.5", "'1.5' is not a valid integer value"},
            {"STITEK;X=1;Y=\xC8", "'Č' is not a valid integer value"},
            {"ZAROVKA;X=1;Y=1;N;ODSAZENI_X=0;ODSAZENI_Y=0;IO=CE:1.x", "'x' is not a valid integer value"},
            {"ZAROVKA;X=1;Y=1;N;ODSAZENI_X=0;ODSAZENI_Y=0;IO=CE:1.1,ZE:0.1", "'ZE:0.1' is not a valid I/O address"},
            {"ZAROVKA;X=1;Y=1;N;ODSAZENI_X=0;ODSAZENI_Y=0;IO=ce:1.1", "'ce:1.1' is not a valid I/O address"},
            {"ZAROVKA;X=1;Y=1;N;ODSAZENI_X=0;ODSAZENI_Y=0;IO=CE1.1", "'CE1.1' is not a valid I/O address"},
            {"OBLAST;X=1;Y=1;SIRKA=2;VYSKA=a", "'a' is not a valid integer value"},
        };
        for (const auto &c : cases) {
            QString error;
            StationData d = read("SET_Stanice;before\r\nPRUSVITKA;X=9;Y=9\r\n" + c.line + "\r\nSET_Autor;after\r\nPRUSVITKA;X=8;Y=8\r\n", &error);
            QCOMPARE(error, c.message);
            // Reading stops at the bad line: what came before is read, nothing after.
            QCOMPARE(d.stationName, QStringLiteral("before"));
            QVERIFY(d.author.isEmpty());
            QCOMPARE(d.tiles.count(), 1);
        }
    }

    void fileErrors()
    {
        QTemporaryDir dir;
        StationData d;
        QCOMPARE(readStationFile(dir.filePath(QStringLiteral("missing.stvx")), d).error, QStringLiteral("File not found"));
        // A folder where the file should be cannot be written.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        QCOMPARE(writeStationFile(dir.filePath(QStringLiteral("sub")), d).error, QStringLiteral("File access denied"));
        // A regular file standing where a folder should be.
        writeAll(dir.filePath(QStringLiteral("plain")), "x");
        QCOMPARE(writeStationFile(dir.filePath(QStringLiteral("plain/a.stvx")), d).error, QStringLiteral("File not found"));
    }

    // Saves over a file replace it and let the old one go: no handle of it
    // stays open.
    void saveReplacesOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("stanice.stvx"));
        const auto openFiles = [] {
            return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
        };
        const qsizetype before = openFiles();
        StationData d;
        for (qint32 rows = 11; rows <= 13; ++rows) {
            d.rows = rows;
            QVERIFY(writeStationFile(path, d).ok());
        }
        StationData back;
        QVERIFY(readStationFile(path, back).ok());
        QCOMPARE(back.rows, 13);
        QTRY_COMPARE(openFiles(), before);
    }

    // A save that fails half-way leaves the file already on disk as it was.
    void failedSaveKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("stanice.stvx"));
        writeAll(path, "SET_Vyska;11\r\n");
        StationData big;
        for (int i = 0; i < 200000; ++i)
            big.tiles.append({i, i, true, false, true, false, true, false, true, false, QStringLiteral("KOL_sLSPS")});

        // Limit the size of files this process may write, as a full disk would.
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 4 << 20;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const FileResult r = writeStationFile(path, big);
        setrlimit(RLIMIT_FSIZE, &old);

        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith(QStringLiteral("I/O error")) || r.error == QStringLiteral("Disk full"), qPrintable(r.error));
        QCOMPARE(readAll(path), QByteArray("SET_Vyska;11\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("stanice.stvx")});
    }
};

QTEST_APPLESS_MAIN(TestStationFile)
#include "test_stationfile.moc"
