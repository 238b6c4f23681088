// kalmor-cli's commands: pictures as the window composes them, info,
// resave as Open and Save As, the layout check, the wire and parts lists,
// exit status.
#include "cli/CheckCommand.h"
#include "cli/CommandArguments.h"
#include "cli/InfoCommand.h"
#include "cli/RenderCommand.h"
#include "cli/ResaveCommand.h"
#include "cli/WiringCommands.h"
#include "analysis/IoPoints.h"
#include "analysis/PartsList.h"
#include "document/DocumentLifecycle.h"
#include "document/StationFile.h"
#include "render/index/ElementIndex.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"
#include "support/ScriptedPrompts.h"
#include "support/TestRecords.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace kalmor;

namespace {

const QString DataDir = QStringLiteral(KALMOR_TEST_DATA);

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run run(int (*command)(const QStringList &, QTextStream &, QTextStream &), const QStringList &args)
{
    Run r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.status = command(args, out, err);
    return r;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The editor's Open and Save As with nothing shown.
class QuietHost : public LifecycleHost {
public:
    void hideAllPanels() override {}
    void showAllPanels() override {}
    void setMenuSectionEnabled(MenuSection, bool) override {}
    void showProgress(const QString &, qsizetype) override {}
    void stepProgress() override {}
    void hideProgress() override {}
    void setEditingLocked(bool) override {}
};

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void renderShowsTheComposedFrame();
    void info();
    void resaveEqualsOpenAndSaveAs();
    void exitStatus();
    void checkCommand();
    void wiringCommands();

private:
    QTemporaryDir m_dir;
};

void TestCli::renderShowsTheComposedFrame()
{
    const QString station = DataDir + QStringLiteral("/horni_lhota.stvx");
    StationData doc;
    QVERIFY(readStationFile(station, doc).ok());
    const ImageSet images;
    // The station's own background, no overlays, the grid when asked.
    RenderState state;
    state.cellSize = 20;
    state.appliedColumns = doc.columns;
    state.appliedRows = doc.rows;
    state.surfaceSize = QSize(doc.columns * 20, doc.rows * 20);
    state.fillColour = doc.backgroundColour;
    state.switches = ViewSwitches{false, false, false, true};
    CanvasState canvas;
    ElementIndex index;
    QImage frame;
    composeFrame(frame, QRect(QPoint(0, 0), state.surfaceSize), doc, state, EditingView{}, images, canvas, index);

    const QString png = m_dir.filePath("lhota.png");
    QCOMPARE(run(cli::runRenderCommand, {station, "-o", png, "--cell", "20", "--grid"}).status, 0);
    QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), frame);
    QCOMPARE(run(cli::runRenderCommand, {station, "--output", png, "--cell", "20", "--grid", "--region", "1,2,4,3"}).status, 0);
    QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), frame.copy(20, 40, 80, 60));
    // Without --cell the cells are the editor's 47 pixels.
    QCOMPARE(run(cli::runRenderCommand, {station, "-o", png}).status, 0);
    QCOMPARE(QImage(png).size(), QSize(doc.columns * 47, doc.rows * 47));
}

void TestCli::info()
{
    const Run r = run(cli::runInfoCommand, {DataDir + QStringLiteral("/horni_lhota.stvx"), "--json"});
    QCOMPARE(r.status, 0);
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(o["rows"].toInt(), 12);
    QCOMPARE(o["columns"].toInt(), 20);
    QCOMPARE(o["colour"].toString(), QStringLiteral("clMedGray"));
    QCOMPARE(o["station"].toString(), QStringLiteral("Horní Lhota"));
    QCOMPARE(o["author"].toString(), QStringLiteral("Jan Novák"));
    QCOMPARE(o["issueDate"].toString(), QStringLiteral("01.02.2025"));
    QCOMPARE(o["tiles"].toInt(), 4);
    QCOMPARE(o["lamps"].toInt(), 2);
    QCOMPARE(o["plates"].toInt(), 1);
    QCOMPARE(o["kinds"].toObject()["KOL_sLSPS"].toInt(), 3);
    QCOMPARE(o["kinds"].toObject().size(), 5);
    const QJsonObject box = o["boundingBox"].toObject();
    QCOMPARE((QList<int>{box["left"].toInt(), box["top"].toInt(), box["right"].toInt(), box["bottom"].toInt()}),
             (QList<int>{1, 2, 4, 4}));
    QVERIFY(o["texts"].toArray().isEmpty());
    // The plate texts, then the desk elements' designations, in list order.
    StationData named;
    named.deskElements.append({1, 1, QStringLiteral("NAV_HL_P"), QStringLiteral("S1")});
    named.plates.append({QStringLiteral("STI_Cely_Dole"), 4, 2, QStringLiteral("Kolej 1")});
    named.plates.append({QStringLiteral("STI_Cely_Dole"), 5, 2});
    named.plates.append({QStringLiteral("STI_Cely_Nahore"), 0, 7, QStringLiteral("Stanice Dolní Lhota")});
    const QString path = m_dir.filePath(QStringLiteral("named.stvx"));
    QVERIFY(writeStationFile(path, named).ok());
    const QString info = run(cli::runInfoCommand, {path}).out;
    QVERIFY(info.contains("plates: 3\ndesk elements: 1\n"));
    QVERIFY(info.endsWith("texts:\n  4 2: Kolej 1\n  0 7: Stanice Dolní Lhota\n  1 1: S1\n"));
    const QJsonObject namedJson = QJsonDocument::fromJson(run(cli::runInfoCommand, {path, "--json"}).out.toUtf8()).object();
    QCOMPARE(namedJson["deskElements"].toInt(), 1);
    const QJsonArray texts = namedJson["texts"].toArray();
    QCOMPARE(texts.size(), 3);
    QCOMPARE(texts[1].toObject(), QJsonObject({{"x", 0}, {"y", 7}, {"kind", "STI_Cely_Nahore"},
                                               {"text", QStringLiteral("Stanice Dolní Lhota")}}));
    const Run empty = run(cli::runInfoCommand, {DataDir + QStringLiteral("/empty.stvx"), "--json"});
    QVERIFY(QJsonDocument::fromJson(empty.out.toUtf8()).object()["boundingBox"].isNull());
    QVERIFY(run(cli::runInfoCommand, {DataDir + QStringLiteral("/empty.stvx")}).out.contains("bounding box: none\ntexts: none\n"));
}

// Every file of the test data: resave writes what the editor's Open and
// Save As write, or fails as Open fails and writes nothing.
void TestCli::resaveEqualsOpenAndSaveAs()
{
    const QStringList files = QDir(DataDir).entryList({QStringLiteral("*.stvx")}, QDir::Files);
    QVERIFY(files.size() >= 4);
    for (const QString &name : files) {
        const QString input = DataDir + QLatin1Char('/') + name;
        const QString resaved = m_dir.filePath(name + QStringLiteral(".cli"));
        const QString saved = m_dir.filePath(name + QStringLiteral(".editor"));
        StationDocument doc;
        ScriptedPrompts prompts;
        QuietHost host;
        DocumentLifecycle editor(doc, prompts, host);
        const bool opened = editor.openFrom(input);
        const Run r = run(cli::runResaveCommand, {input, "-o", resaved});
        QCOMPARE(r.status, opened ? 0 : 2);
        if (!opened) {
            QVERIFY(!QFile::exists(resaved));
            QVERIFY(r.err.contains(prompts.messages.value(0)));
            continue;
        }
        QVERIFY(editor.saveTo(saved));
        QCOMPARE(fileBytes(resaved), fileBytes(saved));
    }
    // In place: the file becomes what Save As writes; a file that cannot
    // be read stays as it was.
    const QString copy = m_dir.filePath("copy.stvx");
    QVERIFY(QFile::copy(DataDir + QStringLiteral("/hand_edited.stvx"), copy));
    QCOMPARE(run(cli::runResaveCommand, {copy}).status, 0);
    QCOMPARE(fileBytes(copy), fileBytes(m_dir.filePath("hand_edited.stvx.editor")));
    const QString bad = m_dir.filePath("bad.stvx");
    QVERIFY(QFile::copy(DataDir + QStringLiteral("/bad_number.stvx"), bad));
    QCOMPARE(run(cli::runResaveCommand, {bad}).status, 2);
    QCOMPARE(fileBytes(bad), fileBytes(DataDir + QStringLiteral("/bad_number.stvx")));
}

void TestCli::exitStatus()
{
    const QString station = DataDir + QStringLiteral("/horni_lhota.stvx");
    const QString png = m_dir.filePath("x.png");
    const QString nowhere = m_dir.filePath("no/such/dir/x.png");
    using Command = int (*)(const QStringList &, QTextStream &, QTextStream &);
    struct Case {
        Command command;
        QStringList args;
        int status;
    };
    const QList<Case> cases{
        {cli::runInfoCommand, {m_dir.filePath("missing.stvx")}, 2},
        {cli::runInfoCommand, {}, 2},
        {cli::runInfoCommand, {station, "--xml"}, 2},
        {cli::runResaveCommand, {m_dir.filePath("missing.stvx")}, 2},
        {cli::runResaveCommand, {station, "-o", m_dir.filePath("no/such/dir/x.stvx")}, 2},
        {cli::runRenderCommand, {m_dir.filePath("missing.stvx"), "-o", png}, 2},
        {cli::runRenderCommand, {station, "-o", png, "--cell", "abc"}, 2},
        {cli::runRenderCommand, {station, "-o", png, "--cell", "0"}, 2},
        {cli::runRenderCommand, {station, "-o", png, "--cell", "1048"}, 2},
        {cli::runRenderCommand, {station, "-o", png, "--region", "18,0,3,1"}, 2},
        {cli::runRenderCommand, {station, "-o", png, "--region", "1,x,3,1"}, 2},
        {cli::runRenderCommand, {station, "-o", m_dir.filePath("x.jpg")}, 2},
        {cli::runRenderCommand, {station, "-o", nowhere}, 2},
        {cli::runRenderCommand, {station, "-o"}, 2},
        {cli::runRenderCommand, {station}, 2},
        {cli::runRenderCommand, {"--help"}, 0},
        {cli::runInfoCommand, {"--help"}, 0},
        {cli::runResaveCommand, {"--help"}, 0},
    };
    for (const Case &c : cases) {
        const Run r = run(c.command, c.args);
        QVERIFY2(r.status == c.status, qPrintable(c.args.join(' ') + QStringLiteral(" -> ") + QString::number(r.status)));
        QCOMPARE(r.err.isEmpty(), c.status == 0);
    }
    QVERIFY(!QFile::exists(png));
    QVERIFY(run(cli::runRenderCommand, {station, "-o", nowhere}).err.contains("File not found"));
}

void TestCli::checkCommand()
{
    QTemporaryDir dir;
    StationData doc;
    doc.columns = doc.rows = 10;
    TPolePanelu end = tile(2, 1, QStringLiteral("KOZ_sPS"));
    end.Cont_PS = true;
    TPolePanelu straight = tile(3, 1, QStringLiteral("KOL_sLSPS"));
    straight.Cont_LS = straight.Cont_PS = true;
    doc.tiles.append(end);
    doc.tiles.append(straight);
    doc.tiles.append(tile(0, 0, QStringLiteral("KOL_\"x\"")));
    const QString problems = dir.filePath(QStringLiteral("a.stvx"));
    QVERIFY(writeStationFile(problems, doc).ok());

    const auto check = [](const QStringList &args) { return run(cli::runCheckCommand, args); };
    const Run text = check({problems});
    QCOMPARE(text.status, 1);
    QCOMPARE(text.out.split(u'\n'),
             QStringList({"0 0 unknown-kind - KOL_\"x\"", "3 1 open-end PS KOL_sLSPS",
                          "1 circuits, 2 problems (area-outside 0, division-mismatch 0, duplicate-text 0, "
                          "io-duplicate 0, io-missing 0, no-designation 0, open-end 1, outside-panel 0, "
                          "signal-without-track 0, stacked 0, unknown-kind 1)",
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
                                              {"kind", "KOL_\"x\""}, {"level", "error"}}));
    QCOMPARE(list[1].toObject(), QJsonObject({{"x", 3}, {"y", 1}, {"code", "open-end"}, {"point", "PS"},
                                              {"kind", "KOL_sLSPS"}, {"level", "error"}}));

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
    // Two plates named alike are a warning only; texts may be left empty.
    doc.plates.append({QStringLiteral("STI_Cely_Dole"), 5, 5, QStringLiteral("S1")});
    doc.plates.append({QStringLiteral("STI_Cely_Dole"), 1, 6, QStringLiteral("S1")});
    doc.plates.append({QStringLiteral("STI_Cely_Dole"), 2, 6});
    doc.plates.append({QStringLiteral("STI_Cely_Dole"), 3, 6});
    const QString twins = dir.filePath(QStringLiteral("c.stvx"));
    QVERIFY(writeStationFile(twins, doc).ok());
    const Run warned = check({twins});
    QCOMPARE(warned.status, 0);
    QCOMPARE(warned.out.split(u'\n').mid(0, 2), QStringList({"5 5 duplicate-text - STI_Cely_Dole warning",
                                                             "1 6 duplicate-text - STI_Cely_Dole warning"}));
    const QJsonArray warnings = QJsonDocument::fromJson(check({"--json", twins}).out.toUtf8())["problems"].toArray();
    QCOMPARE(warnings.size(), 2);
    QCOMPARE(warnings[1].toObject()["level"].toString(), QStringLiteral("warning"));
    QCOMPARE(warnings[1].toObject()["code"].toString(), QStringLiteral("duplicate-text"));
    // An area beyond the panel is a warning too, named by the area.
    doc.areas.append({8, 9, 3, 1, QStringLiteral("Zhlaví")});
    QVERIFY(writeStationFile(twins, doc).ok());
    const QJsonArray area = QJsonDocument::fromJson(check({"--json", twins}).out.toUtf8())["problems"].toArray();
    QCOMPARE(area.last().toObject(), QJsonObject({{"x", 8}, {"y", 9}, {"code", "area-outside"}, {"point", ""},
                                                  {"kind", "Zhlaví"}, {"level", "warning"}}));
    const Run missing = check({dir.filePath(QStringLiteral("none.stvx"))});
    QCOMPARE(missing.status, 2);
    QVERIFY(missing.out.isEmpty() && !missing.err.isEmpty());
    // A file of another kind is no station to check; the message names it.
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    QFile file(notes);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("lorem ipsum\r\n");
    file.close();
    const Run foreign = check({notes});
    QCOMPARE(foreign.status, 2);
    QCOMPARE(foreign.err, QStringLiteral("kalmor-cli: %1: Soubor není stanice Kalmor.\n").arg(notes));
    for (const QStringList &bad : {QStringList{}, QStringList{clean, clean}, QStringList{clean, "--xml"}}) {
        const Run usage = check(bad);
        QCOMPARE(usage.status, 2);
        QVERIFY(usage.err.contains(QStringLiteral("usage: kalmor-cli check")));
    }
    QCOMPARE(check({QStringLiteral("--help")}).status, 0);
}

// The wire list and the parts list as text and, byte for byte, as the
// CSV the editor writes; one area's pages in real size.
void TestCli::wiringCommands()
{
    StationData doc;
    TPoleZarovka wired{2, 1, 0, 0, QStringLiteral("ZAR_CE_ZH")};
    wired.IO.set(*IoRoleCode::from("CE"), IoAddress{3, 1});
    doc.lamps.append(wired);
    doc.lamps.append({4, 1, 0, 0, QStringLiteral("ZAR_ZE_ZH")});
    doc.tiles.append(tile(1, 1, QStringLiteral("KOL_sLSPS")));
    doc.areas.append({0, 0, 12, 6, QStringLiteral("Zhlaví A")});
    const QString station = m_dir.filePath(QStringLiteral("wired.stvx"));
    QVERIFY(writeStationFile(station, doc).ok());

    const Run io = run(cli::runIoCommand, {station});
    QCOMPARE(io.status, 0);
    QCOMPARE(io.out.split(u'\n').value(1), QStringLiteral("ZAR_CE_ZH X2 Y1.CE\tvýstup\tZAR_CE_ZH\t2\t1\tZhlaví A\t3\t1"));
    const auto csv = [&station](int (*command)(const QStringList &, QTextStream &, QTextStream &)) {
        QBuffer bytes;
        bytes.open(QIODevice::WriteOnly);
        QTextStream out(&bytes);
        QString ignored;
        QTextStream err(&ignored);
        const int status = command({station, QStringLiteral("--csv")}, out, err);
        out.flush();
        return status == 0 ? bytes.data() : QByteArray();
    };
    QString unused;
    QTextStream quiet(&unused);
    const StationData read = *cli::readStation(station, quiet);
    const IoPoints points = IoPoints::of(read);
    QCOMPARE(csv(cli::runIoCommand), wireListCsv(points, allRows(points)));
    QCOMPARE(csv(cli::runPartsCommand), partsListCsv(partsList(read)));
    const Run parts = run(cli::runPartsCommand, {station});
    QVERIFY(parts.out.contains(QStringLiteral("Celkem\tZAR_ZE_ZH\tžárovka zelená\t1\n")));
    for (const auto command : {cli::runIoCommand, cli::runPartsCommand}) {
        QCOMPARE(run(command, {m_dir.filePath(QStringLiteral("none.stvx"))}).status, 2);
        QCOMPARE(run(command, {}).status, 2);
        QCOMPARE(run(command, {QStringLiteral("--help")}).status, 0);
    }

    // One area at 40 mm a cell: 480 x 240 mm on 2 x 2 A4 pages.
    const QString pdf = m_dir.filePath(QStringLiteral("zhlavi.pdf"));
    const Run real = run(cli::runRenderCommand, {station, "-o", pdf, "--field-mm", "40", "--area", "Zhlaví A"});
    QCOMPARE(real.status, 0);
    QCOMPARE(int(fileBytes(pdf).count("/Type /Page\n")) + int(fileBytes(pdf).count("/Type /Page ")) +
                 int(fileBytes(pdf).count("/Type /Page>")) + int(fileBytes(pdf).count("/Type /Page/")),
             4);
    for (const QStringList &bad : {QStringList{station, "-o", pdf, "--area", "nic"},
                                   QStringList{station, "-o", pdf, "--field-mm", "4"},
                                   QStringList{station, "-o", m_dir.filePath("a.png"), "--field-mm", "40"}})
        QCOMPARE(run(cli::runRenderCommand, bad).status, 2);
}

QTEST_MAIN(TestCli)
#include "test_cli.moc"
