#include "document/LineInterpreter.h"
#include "document/StationFile.h"
#include "document/ValueConversions.h"
#include "support/ReadBothWays.h"

#include <QRandomGenerator>
#include <QTest>

using namespace kalmor;

namespace {

// Element lines in the writer's form are read in one pass; every line,
// however mangled, must give what reading it field by field gives.
bool readAlikeBothWays(QByteArrayView bytes)
{
    ReadBlock fast, byFields;
    interpretLines(bytes, fast);
    interpretLines(bytes, byFields, false);
    return fast.tiles == byFields.tiles && fast.lamps == byFields.lamps && fast.plates == byFields.plates
        && fast.areas == byFields.areas && fast.deskElements == byFields.deskElements && fast.rows == byFields.rows
        && fast.columns == byFields.columns && fast.lines == byFields.lines
        && fast.filledLines == byFields.filledLines && fast.stationLines == byFields.stationLines
        && fast.error == byFields.error && fast.errorLine == byFields.errorLine;
}

}  // namespace

// Random and mutated station files must never crash, hang or leak the
// reader, and reading them in blocks on several threads must give what
// reading them at once gives; the sanitizer build of the suites runs this
// too.
class TestReaderFuzz : public QObject {
    Q_OBJECT
private slots:
    void randomAndMutatedFiles()
    {
        QRandomGenerator rng(42);
        StationData seed;
        seed.stationName = QStringLiteral("Stanice");
        for (int i = 0; i < 20; ++i) {
            seed.tiles.append({i, -i, true, false, true, false, true, false, true, false, QStringLiteral("KOL_sLSPS")});
            seed.lamps.append({i, i, 3, -4, QStringLiteral("ZAR_CE_ZH")});
            seed.plates.append({QStringLiteral("STI_Cely_Dole"), i, i});
        }
        // Numbers at the ends of the range, which the one-pass reading
        // must leave to the conversions.
        seed.tiles.append({2147483647, -2147483647 - 1, true, true, true, true, true, true, true, true, QStringLiteral("KOL_sLSPS")});
        QByteArray valid = settingLines(seed);
        for (const auto &t : seed.tiles)
            valid += tileLine(t);
        for (const auto &z : seed.lamps)
            valid += lampLine(z);
        for (const auto &s : seed.plates)
            valid += plateLine(s);
        StationData whole;
        QVERIFY(readStationBytes(valid, whole).ok());
        QCOMPARE(whole.elementCount(), 61);

        const QByteArray alphabet("PRUSVITKAZOKESTX=;\r\n\x1A-$x0123456789 NAME_Cont");
        int failures = 0;
        for (int round = 0; round < 4000; ++round) {
            QByteArray bytes = valid;
            const int mutations = 1 + int(rng.bounded(8));
            for (int m = 0; m < mutations && !bytes.isEmpty(); ++m) {
                const auto at = qsizetype(rng.bounded(quint32(bytes.size())));
                switch (rng.bounded(4)) {
                case 0: bytes[at] = char(rng.bounded(256)); break;
                case 1: bytes.remove(at, qsizetype(rng.bounded(20))); break;
                case 2: bytes.insert(at, alphabet[qsizetype(rng.bounded(quint32(alphabet.size())))]); break;
                default: bytes.insert(at, bytes.mid(qsizetype(rng.bounded(quint32(bytes.size()))), 30)); break;
                }
            }
            if (round % 10 == 0) {  // pure noise now and then
                bytes.resize(qsizetype(rng.bounded(2000)));
                for (char &c : bytes)
                    c = alphabet[qsizetype(rng.bounded(quint32(alphabet.size())))];
            }
            QVERIFY(readAlikeBothWays(bytes));
            StationData d;
            const FileResult r = readBothWays(bytes, d, round % 8 == 0);
            if (!r.ok()) {
                ++failures;
                QVERIFY(r.error.endsWith(QStringLiteral("is not a valid integer value"))
                        || r.error.endsWith(QStringLiteral("is not a valid boolean value"))
                        || r.error == QStringLiteral("Soubor není stanice Kalmor."));
            }
            QVERIFY(d.rows >= 10 && d.rows <= 4000);
            QVERIFY(d.columns >= 10 && d.columns <= 4000);
        }
        QVERIFY(failures > 0);  // the mutations did reach the conversions
    }

    void integersRoundTrip()
    {
        QRandomGenerator rng(7);
        for (int i = 0; i < 100000; ++i) {
            const auto v = qint32(rng.generate());
            QCOMPARE(parseInteger(integerToText(v)), v);
        }
    }
};

QTEST_APPLESS_MAIN(TestReaderFuzz)
#include "test_reader_fuzz.moc"
