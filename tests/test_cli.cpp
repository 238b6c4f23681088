// kalmor-cli check: lines, JSON, exit status and usage.
#include "cli/CheckCommand.h"
#include "document/StationFile.h"
#include "support/TestRecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace kalmor;

namespace {

struct Run {
    int status;
    QString out;
    QString err;
};

Run check(const QStringList &args)
{
    QString out;
    QString err;
    QTextStream o(&out);
    QTextStream e(&err);
    const int status = runCheckCommand(args, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void checkCommand();
};

void TestCli::checkCommand()
{
    QTemporaryDir dir;
    StationData doc;
    doc.columns = doc.rows = 10;
    TPolePanelu end = tile(2, 1, QStringLiteral("KOZ_sPS"));
    end.Cont_PS = true;
    TPolePanelu run = tile(3, 1, QStringLiteral("KOL_sLSPS"));
    run.Cont_LS = run.Cont_PS = true;
    doc.tiles.append(end);
    doc.tiles.append(run);
    doc.tiles.append(tile(0, 0, QStringLiteral("KOL_\"x\"")));
    const QString problems = dir.filePath(QStringLiteral("a.stvx"));
    QVERIFY(writeStationFile(problems, doc).ok());

    const Run text = check({problems});
    QCOMPARE(text.status, 1);
    QCOMPARE(text.out.split(u'\n'),
             QStringList({"0 0 unknown-kind - KOL_\"x\"", "3 1 open-end PS KOL_sLSPS",
                          "1 circuits, 2 problems (division-mismatch 0, open-end 1, outside-panel 0, stacked 0, "
                          "unknown-kind 1)",
                          ""}));

    const Run json = check({QStringLiteral("--json"), problems});
    QCOMPARE(json.status, 1);
    QJsonParseError error;
    const QJsonObject top = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(top.value(u"circuits").toInt(), 1);
    const QJsonArray list = top.value(u"problems").toArray();
    QCOMPARE(list.size(), 2);
    QCOMPARE(list[0].toObject(), QJsonObject({{"x", 0}, {"y", 0}, {"code", "unknown-kind"}, {"point", ""},
                                              {"kind", "KOL_\"x\""}}));
    QCOMPARE(list[1].toObject(), QJsonObject({{"x", 3}, {"y", 1}, {"code", "open-end"}, {"point", "PS"},
                                              {"kind", "KOL_sLSPS"}}));

    // Without problems; an unreadable file; wrong arguments; help.
    doc.tiles.removeAt(2);
    doc.tiles.replace(1, [&] {
        TPolePanelu t = tile(3, 1, QStringLiteral("KOZ_sLS"));
        t.Cont_LS = true;
        return t;
    }());
    const QString clean = dir.filePath(QStringLiteral("b.stvx"));
    QVERIFY(writeStationFile(clean, doc).ok());
    const Run ok = check({clean});
    QCOMPARE(ok.status, 0);
    QVERIFY(ok.out.startsWith(QStringLiteral("1 circuits, 0 problems")));
    const Run missing = check({dir.filePath(QStringLiteral("none.stvx"))});
    QCOMPARE(missing.status, 2);
    QVERIFY(missing.out.isEmpty() && !missing.err.isEmpty());
    for (const QStringList &bad : {QStringList{}, QStringList{clean, clean}, QStringList{clean, "--xml"}}) {
        const Run usage = check(bad);
        QCOMPARE(usage.status, 2);
        QVERIFY(usage.err.startsWith(QStringLiteral("usage: kalmor-cli check")));
    }
    QCOMPARE(check({QStringLiteral("--help")}).status, 0);
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
