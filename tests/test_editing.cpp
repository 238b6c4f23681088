#include "document/IoAddress.h"
#include "document/StationHistory.h"
#include "editing/Placement.h"
#include "editing/PointerInput.h"
#include "editing/ShiftElements.h"
#include "render/index/ElementIndex.h"
#include "support/IndexProbe.h"
#include "support/ScriptedPrompts.h"
#include "support/TestRecords.h"

#include <QLabel>
#include <QTest>

#include <climits>

using namespace kalmor;

namespace {

QList<QPoint> cells(const ElementList<TPolePanelu> &list)
{
    QList<QPoint> out;
    for (const TPolePanelu &t : list)
        out << QPoint(t.X, t.Y);
    return out;
}

PlacementInputs kindInputs(const QString &kind)
{
    PlacementInputs in;
    in.kind = kind;
    return in;
}

// One placement as a gesture of its own, outside any history.
void place(StationDocument &doc, qint32 column, qint32 row, PlacementMode mode, const PlacementInputs &in)
{
    StationEdit edit(doc);
    placeElement(edit, column, row, mode, in);
}

bool shift(StationDocument &doc, qint32 dx, qint32 dy, qint32 columns, qint32 rows, UserPrompts &prompts,
           ShiftScope scope = ShiftScope::TrackOnly)
{
    StationHistory history(doc);
    return shiftAllElements(history, dx, dy, columns, rows, prompts, scope);
}

// A pointer on a surface with cell size 47 whose inputs the test sets.
struct Pointer {
    StationDocument doc;
    StationHistory history{doc};
    PlacementInputs inputs;
    int cellSize = 47;
    QLabel start{QStringLiteral("?")};
    QLabel end{QStringLiteral("?")};
    PointerInput input{history, [this] { return cellSize; }, [this] { return inputs; }};

    Pointer() { input.setCaptionLabels(&start, &end); }

    // Press in one cell, move to another and release there.
    void drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        input.mouseMoved(from.x() * cellSize + 5, from.y() * cellSize + 5);
        input.mousePressed(button, from.x() * cellSize + 5, from.y() * cellSize + 5);
        input.mouseMoved(to.x() * cellSize + 5, to.y() * cellSize + 5);
        input.mouseReleased(button, to.x() * cellSize + 5, to.y() * cellSize + 5);
    }
    void click(Qt::MouseButton button, QPoint cell) { drag(button, cell, cell); }
};

const QString KOL = QStringLiteral("KOL_sLSPS");
const QString VYH = QStringLiteral("VYH_sLSPS_sLDPS");

}  // namespace

class TestEditing : public QObject {
    Q_OBJECT
private slots:
    void placeReplaceRemove()
    {
        StationDocument doc;
        QCOMPARE(doc.status(), DocumentStatus::New);
        PlacementInputs in = kindInputs(KOL);
        in.flags = {true, false, true, false, true, false, true, false};
        place(doc, 4, 2, PlacementMode::Place, in);
        QCOMPARE(doc.status(), DocumentStatus::Modified);
        QCOMPARE(doc.tiles().count(), 1);
        const TPolePanelu &t = doc.tiles().at(0);
        QCOMPARE(QPoint(t.X, t.Y), QPoint(4, 2));
        QCOMPARE(t.NAME, KOL);
        QVERIFY(t.Cont_LH && !t.Cont_LS && t.Cont_LD && !t.Cont_SH && t.Cont_SD && !t.Cont_PH && t.Cont_PS
                && !t.Cont_PD);

        // Replacing keeps the list position and overwrites every field.
        place(doc, 9, 9, PlacementMode::Place, in);
        in = kindInputs(VYH);
        in.flags = {false, true, true, false, false, false, true, false};
        place(doc, 4, 2, PlacementMode::Place, in);
        QCOMPARE(names(doc.tiles()), QStringList({VYH, KOL}));
        QVERIFY(!doc.tiles().at(0).Cont_LH && doc.tiles().at(0).Cont_LS);

        // A lamp and a plate share the cell with the tile; a right click with
        // a tile kind removes the tile whatever its kind and leaves the others.
        in = kindInputs(QStringLiteral("ZAR_OR_ZH"));
        in.lampOffsetX = 15;
        in.lampOffsetY = 32;
        place(doc, 4, 2, PlacementMode::Place, in);
        place(doc, 4, 2, PlacementMode::Place, kindInputs(QStringLiteral("STI_Cely_Dole")));
        QCOMPARE(doc.lamps().count(), 1);
        QCOMPARE(doc.lamps().at(0), (TPoleZarovka{4, 2, 15, 32, QStringLiteral("ZAR_OR_ZH")}));
        QCOMPARE(doc.plates().at(0), (TPoleStitek{QStringLiteral("STI_Cely_Dole"), 4, 2}));
        place(doc, 4, 2, PlacementMode::Remove, kindInputs(QStringLiteral("HKO_sLDPH")));
        QCOMPARE(names(doc.tiles()), QStringList({KOL}));
        QCOMPARE(doc.lamps().count(), 1);
        QCOMPARE(doc.plates().count(), 1);

        // Remove on a cell holding nothing of the class places.
        place(doc, 0, 0, PlacementMode::Remove, kindInputs(KOL));
        QCOMPARE(doc.tiles().count(), 2);
        QCOMPARE(doc.tiles().at(1).NAME, KOL);

        // A kind without class changes only the status.
        doc.setStatus(DocumentStatus::Saved);
        place(doc, 1, 1, PlacementMode::Place, kindInputs(QStringLiteral("Ruzek_LH")));
        QCOMPARE(doc.status(), DocumentStatus::Modified);
        QCOMPARE(doc.tiles().count(), 2);
        QCOMPARE(doc.lamps().count(), 1);
        QCOMPARE(doc.plates().count(), 1);
        // The class prefix is compared with letter case.
        place(doc, 1, 1, PlacementMode::Place, kindInputs(QStringLiteral("kol_sLSPS")));
        QCOMPARE(doc.tiles().count(), 2);
        // A desk element goes into a fourth list with its designation, beside
        // the others of its cell. Placed again with its kind it keeps its
        // wiring; another kind starts unwired; a right click removes it alone.
        PlacementInputs desk = kindInputs(QStringLiteral("NAV_HL_L"));
        desk.text = QStringLiteral("S1");
        place(doc, 4, 2, PlacementMode::Place, desk);
        QCOMPARE(doc.tiles().count() + doc.lamps().count() + doc.plates().count(), 4);
        TPolePrvek wired = doc.deskElements().at(0);
        QCOMPARE(wired, (TPolePrvek{4, 2, desk.kind, desk.text}));
        QVERIFY(readIoValue("CE:2.17", wired.IO).isEmpty());
        doc.deskElements().replace(0, wired);
        desk.text = QStringLiteral("S2");
        place(doc, 4, 2, PlacementMode::Place, desk);
        wired.TEXT = desk.text;
        QCOMPARE(doc.deskElements().at(0), wired);
        desk.kind = QStringLiteral("NAV_HL_P");
        place(doc, 4, 2, PlacementMode::Place, desk);
        QCOMPARE(doc.deskElements().at(0), (TPolePrvek{4, 2, desk.kind, desk.text}));
        place(doc, 4, 2, PlacementMode::Remove, kindInputs(QStringLiteral("TLA_VC")));
        QVERIFY(doc.deskElements().isEmpty());
        QCOMPARE(doc.tiles().count() + doc.lamps().count() + doc.plates().count(), 4);

        // Writing a record equal to the old one still marks the document.
        doc.setStatus(DocumentStatus::Loaded);
        place(doc, 0, 0, PlacementMode::Place, kindInputs(KOL));
        QCOMPARE(doc.status(), DocumentStatus::Modified);
    }

    void removalOrderAndDuplicates()
    {
        StationDocument doc;
        for (const char *n : {"A", "B", "C", "D"})
            doc.tiles().append(tile(doc.tiles().count(), 0, QString::fromLatin1(n)));
        place(doc, 1, 0, PlacementMode::Remove, kindInputs(KOL));
        QCOMPARE(names(doc.tiles()), QStringList({"A", "D", "C"}));
        place(doc, 0, 0, PlacementMode::Remove, kindInputs(KOL));
        place(doc, 2, 0, PlacementMode::Remove, kindInputs(KOL));
        place(doc, 3, 0, PlacementMode::Remove, kindInputs(KOL));
        QVERIFY(doc.tiles().isEmpty());

        // Two tiles on one cell, as a file may hold: left overwrites the
        // first in list order, right removes only the first.
        Pointer p;
        p.doc.tiles().append(tile(5, 5, QStringLiteral("first")));
        p.doc.tiles().append(tile(1, 1, QStringLiteral("other")));
        p.doc.tiles().append(tile(5, 5, QStringLiteral("second")));
        p.inputs = kindInputs(VYH);
        p.click(Qt::LeftButton, {5, 5});
        QCOMPARE(names(p.doc.tiles()), QStringList({VYH, "other", "second"}));
        p.click(Qt::RightButton, {5, 5});
        QCOMPARE(names(p.doc.tiles()), QStringList({"second", "other"}));
        p.click(Qt::RightButton, {5, 5});
        QCOMPARE(names(p.doc.tiles()), QStringList({"other"}));
    }

    void pointerCells()
    {
        QCOMPARE(PointerInput::cellAt(46, 94, 47), QPoint(0, 2));
        QCOMPARE(PointerInput::cellAt(47, 94, 47), QPoint(1, 2));
        QCOMPARE(PointerInput::cellAt(-1, -46, 47), QPoint(0, 0));
        QCOMPARE(PointerInput::cellAt(-47, -95, 47), QPoint(-1, -2));
        QCOMPARE(PointerInput::cellAt(10, 10, 0), QPoint(10, 10));
        QCOMPARE(PointerInput::cellAt(10, 10, -5), QPoint(10, 10));

        Pointer p;
        p.input.mouseMoved(100, 100);
        p.input.mouseReleased(Qt::LeftButton, 46, 94);
        QCOMPARE(cells(p.doc.tiles()), QList<QPoint>({{0, 2}}));
        p.input.mouseReleased(Qt::LeftButton, 47, 94);
        QCOMPARE(cells(p.doc.tiles()), QList<QPoint>({{0, 2}, {1, 2}}));
        QCOMPARE(p.input.cursorCell(), QPoint(2, 2));
        QCOMPARE(p.input.dragEndCell(), QPoint(2, 2));
        // Zoom changes the cell size seen by the next move.
        p.cellSize = 87;
        p.input.mouseMoved(100, 100);
        QCOMPARE(p.input.cursorCell(), QPoint(1, 1));
    }

    void pressAndReleaseCaptions()
    {
        Pointer p;
        p.input.mouseMoved(12 * 47, 3 * 47 + 1);
        p.input.mousePressed(Qt::LeftButton, 0, 0);
        QCOMPARE(p.start.text(), QStringLiteral("12x3"));
        QCOMPARE(p.input.dragStartCell(), QPoint(12, 3));
        QCOMPARE(p.end.text(), QStringLiteral("?"));
        p.input.mouseReleased(Qt::LeftButton, 12 * 47, 3 * 47);
        QCOMPARE(p.start.text(), QStringLiteral("0x0"));
        QCOMPARE(p.end.text(), QStringLiteral("0x0"));
    }

    void rowFill()
    {
        // Left to right along one row fills start to end inclusive.
        Pointer p;
        p.inputs = kindInputs(VYH);
        p.inputs.flags = {false, true, true, false, false, false, true, false};
        p.drag(Qt::LeftButton, {2, 3}, {5, 3});
        QCOMPARE(cells(p.doc.tiles()), QList<QPoint>({{5, 3}, {2, 3}, {3, 3}, {4, 3}}));
        for (const TPolePanelu &t : p.doc.tiles())
            QVERIFY(t.NAME == VYH && t.Cont_LD && !t.Cont_LH);

        // Right to left, up, down: only the release cell.
        Pointer left;
        left.drag(Qt::LeftButton, {5, 3}, {2, 3});
        QCOMPARE(cells(left.doc.tiles()), QList<QPoint>({{2, 3}}));
        Pointer down;
        down.drag(Qt::LeftButton, {2, 1}, {2, 6});
        down.drag(Qt::LeftButton, {4, 6}, {4, 1});
        QCOMPARE(cells(down.doc.tiles()), QList<QPoint>({{2, 6}, {4, 1}}));

        // Right-button drag: the release cell first loses its tile (or gains
        // one), then the fill places on every column.
        Pointer right;
        right.doc.tiles().append(tile(5, 3, QStringLiteral("OLD")));
        right.doc.tiles().append(tile(0, 0, QStringLiteral("X")));
        right.drag(Qt::RightButton, {2, 3}, {5, 3});
        QCOMPARE(names(right.doc.tiles()), QStringList({"X", KOL, KOL, KOL, KOL}));
        QCOMPARE(cells(right.doc.tiles()), QList<QPoint>({{0, 0}, {2, 3}, {3, 3}, {4, 3}, {5, 3}}));
        Pointer rightEmpty;
        rightEmpty.drag(Qt::RightButton, {2, 3}, {5, 3});
        QCOMPARE(cells(rightEmpty.doc.tiles()), QList<QPoint>({{5, 3}, {2, 3}, {3, 3}, {4, 3}}));

        // Middle button: a click changes nothing, not even the status; a
        // drag to the right fills.
        Pointer middle;
        middle.doc.setStatus(DocumentStatus::Saved);
        middle.click(Qt::MiddleButton, {3, 3});
        QCOMPARE(middle.doc.status(), DocumentStatus::Saved);
        QVERIFY(middle.doc.tiles().isEmpty());
        QCOMPARE(middle.end.text(), QStringLiteral("0x0"));
        middle.drag(Qt::MiddleButton, {1, 4}, {3, 4});
        QCOMPARE(cells(middle.doc.tiles()), QList<QPoint>({{1, 4}, {2, 4}, {3, 4}}));
        QCOMPARE(middle.doc.status(), DocumentStatus::Modified);

        // A fill beyond the surface (pointer captured outside) stores cells
        // outside the panel as they are.
        Pointer outside;
        outside.input.mouseMoved(-99, -52);
        outside.input.mousePressed(Qt::LeftButton, -99, -52);
        outside.input.mouseMoved(5, -52);
        outside.input.mouseReleased(Qt::LeftButton, 5, -52);
        QCOMPARE(cells(outside.doc.tiles()), QList<QPoint>({{0, -1}, {-2, -1}, {-1, -1}}));
    }

    void fillUsesTheInputsOfTheMoment()
    {
        Pointer p;
        p.inputs = kindInputs(QStringLiteral("ZAR_BI_ZH"));
        p.inputs.lampOffsetX = 3;
        p.click(Qt::LeftButton, {1, 1});
        p.inputs.lampOffsetX = 7;
        p.click(Qt::LeftButton, {2, 1});
        QCOMPARE(p.doc.lamps().at(0).ODSAZENI_X, 3);
        QCOMPARE(p.doc.lamps().at(1).ODSAZENI_X, 7);
    }

    void lockedWhileSaving()
    {
        Pointer p;
        p.doc.setStatus(DocumentStatus::Saved);
        p.input.setLocked(true);
        p.input.mouseMoved(5 * 47, 0);
        QCOMPARE(p.input.cursorCell(), QPoint(5, 0));
        p.drag(Qt::LeftButton, {1, 0}, {4, 0});
        QVERIFY(p.doc.tiles().isEmpty());
        QCOMPARE(p.doc.status(), DocumentStatus::Saved);
        QCOMPARE(p.start.text(), QStringLiteral("?"));
        QCOMPARE(p.input.dragStartCell(), QPoint(0, 0));
        p.input.setLocked(false);
        p.click(Qt::LeftButton, {1, 0});
        QCOMPARE(p.doc.tiles().count(), 1);
    }

    void shiftEdges()
    {
        // "Jen koleje": the track alone moves, as the first versions did.
        ScriptedPrompts prompts;
        const QString refusal = QStringLiteral("Nelze posunout všechny prvky, některé by se dostaly za okraj panelu");
        StationDocument doc;
        doc.tiles().append(tile(0, 5, KOL));
        doc.tiles().append(tile(148, 0, KOL));
        doc.lamps().append({0, 0, 1, 2, QStringLiteral("ZAR_CE_ZH")});
        doc.plates().append({QStringLiteral("STI_Cely_Dole"), 149, 49});
        doc.setStatus(DocumentStatus::Loaded);

        QVERIFY(!shift(doc, -1, 0, 150, 50, prompts));
        QCOMPARE(prompts.warnings, QStringList({refusal}));
        QCOMPARE(cells(doc.tiles()), QList<QPoint>({{0, 5}, {148, 0}}));
        QCOMPARE(doc.status(), DocumentStatus::Loaded);

        QVERIFY(shift(doc, 1, 0, 150, 50, prompts));
        QCOMPARE(cells(doc.tiles()), QList<QPoint>({{1, 5}, {149, 0}}));
        QCOMPARE(doc.status(), DocumentStatus::Modified);
        QCOMPARE(doc.lamps().at(0), (TPoleZarovka{0, 0, 1, 2, QStringLiteral("ZAR_CE_ZH")}));
        QCOMPARE(doc.plates().at(0).X, 149);
        QVERIFY(!shift(doc, 1, 0, 150, 50, prompts));
        QVERIFY(!shift(doc, 0, -1, 150, 50, prompts));
        QCOMPARE(prompts.messages.size(), 3);
        QVERIFY(shift(doc, 0, 44, 150, 50, prompts));
        QCOMPARE(cells(doc.tiles()), QList<QPoint>({{1, 49}, {149, 44}}));
        QVERIFY(!shift(doc, 0, 1, 150, 50, prompts));
        // The index follows the shift.
        QCOMPARE(doc.tiles().firstAt(149, 44), 1);
        QCOMPARE(doc.tiles().firstAt(148, 0), -1);

        // A wider applied panel widens the room.
        StationDocument wide;
        wide.tiles().append(tile(290, 0, KOL));
        QVERIFY(!shift(wide, 9, 0, 150, 50, prompts));
        QVERIFY(shift(wide, 9, 0, 300, 50, prompts));
        QCOMPARE(wide.tiles().at(0).X, 299);

        // Only tiles count: lamps and plates alone move nothing, say nothing,
        // and leave the status.
        StationDocument lampsOnly;
        lampsOnly.lamps().append({-5, 0, 0, 0, QStringLiteral("ZAR_CE_ZH")});
        lampsOnly.setStatus(DocumentStatus::Saved);
        prompts.messages.clear();
        QVERIFY(shift(lampsOnly, -1000, 1000, 150, 50, prompts));
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(lampsOnly.status(), DocumentStatus::Saved);
        QCOMPARE(lampsOnly.lamps().at(0).X, -5);

        // Areas move with the tiles, also alone and beyond the edge, and an
        // undo takes them back; desk elements move with their addresses.
        StationDocument framed;
        StationHistory history(framed);
        framed.tiles().append(tile(5, 5, KOL));
        framed.areas().append({0, 0, 150, 50, QStringLiteral("celá")});
        TPolePrvek button{5, 6, QStringLiteral("TLA_VC"), QStringLiteral("V1")};
        button.IO.set(*IoRoleCode::from("T"), IoAddress{1, 1});
        framed.deskElements().append(button);
        QVERIFY(shiftAllElements(history, 2, 1, 150, 50, prompts));
        QCOMPARE(framed.areas().at(0), (TOblast{2, 1, 150, 50, QStringLiteral("celá")}));
        button.X = 7;
        button.Y = 7;
        QCOMPARE(framed.deskElements().at(0), button);
        QVERIFY(history.undo());
        QCOMPARE(framed.areas().at(0).X, 0);
        framed.tiles().clear();
        framed.deskElements().clear();
        QVERIFY(shiftAllElements(history, 0, 3, 150, 50, prompts));
        QCOMPARE(framed.areas().at(0).Y, 3);
    }

    void shiftMovesEveryList()
    {
        // Lamps and plates go with the track, whole records, in one step;
        // the edge rule holds for every record moved.
        ScriptedPrompts prompts;
        StationDocument doc;
        StationHistory history(doc);
        doc.tiles().append(tile(5, 5, KOL));
        const TPoleZarovka lamp{6, 4, 11, 30, QStringLiteral("ZAR_CE_ZH")};
        const TPoleStitek plate{QStringLiteral("STI_Cely_Dole"), 7, 6};
        doc.lamps().append(lamp);
        doc.plates().append(plate);
        ElementIndex index;
        index.build(doc.data());

        QVERIFY(shiftAllElements(history, 2, -3, 10, 10, prompts));
        QCOMPARE(cells(doc.tiles()), QList<QPoint>({{7, 2}}));
        QCOMPARE(doc.lamps().at(0), (TPoleZarovka{8, 1, 11, 30, lamp.NAME}));
        QCOMPARE(doc.plates().at(0), (TPoleStitek{plate.NAME, 9, 3}));
        QCOMPARE(doc.lamps().firstAt(8, 1), 0);
        QCOMPARE(doc.plates().firstAt(9, 3), 0);
        // The renderer's index finds them at their new cells.
        QCOMPARE(positionsDrawn(index, ElementIndex::Layer::Plates, doc.data(), QRect(9 * 47, 3 * 47, 47, 47), 47),
                 std::vector<qint32>{0});
        QCOMPARE(positionsDrawn(index, ElementIndex::Layer::Lamps, doc.data(), QRect(8 * 47, 47, 47, 47), 47),
                 std::vector<qint32>{0});
        QCOMPARE(history.undoSteps(), 1);

        // The plate would leave the panel: nothing moves. With "Jen koleje"
        // the track moves alone.
        QVERIFY(!shiftAllElements(history, 1, 0, 10, 10, prompts));
        QCOMPARE(prompts.warnings.size(), 1);
        QCOMPARE(doc.plates().at(0).X, 9);
        QCOMPARE(doc.tiles().at(0).X, 7);
        QVERIFY(!shiftAllElements(history, 0, -2, 10, 10, prompts));
        QCOMPARE(doc.lamps().at(0).Y, 1);
        QVERIFY(shiftAllElements(history, 1, 0, 10, 10, prompts, ShiftScope::TrackOnly));
        QCOMPARE(doc.tiles().at(0).X, 8);
        QCOMPARE(doc.plates().at(0).X, 9);
        QCOMPARE(doc.lamps().at(0).X, 8);

        // Undo takes the whole shift back, every list at once.
        QVERIFY(history.undo());
        QVERIFY(history.undo());
        QCOMPARE(cells(doc.tiles()), QList<QPoint>({{5, 5}}));
        QCOMPARE(doc.lamps().at(0), lamp);
        QCOMPARE(doc.plates().at(0), plate);

        // Lamps and desk elements alone now move too, each list within the
        // edge, the desk element with its designation and wiring.
        StationDocument lampsOnly;
        StationHistory lampHistory(lampsOnly);
        lampsOnly.lamps().append({-5, 0, 0, 0, QStringLiteral("ZAR_CE_ZH")});
        TPolePrvek signal{144, 1, QStringLiteral("NAV_HL_L"), QStringLiteral("S1")};
        QVERIFY(readIoValue("CE:2.17", signal.IO).isEmpty());
        lampsOnly.deskElements().append(signal);
        QVERIFY(!shiftAllElements(lampHistory, 1, 0, 150, 50, prompts));
        QVERIFY(shiftAllElements(lampHistory, 5, 0, 150, 50, prompts));
        QCOMPARE(lampsOnly.lamps().at(0).X, 0);
        signal.X = 149;
        QCOMPARE(lampsOnly.deskElements().at(0), signal);
        QCOMPARE(lampsOnly.status(), DocumentStatus::Modified);
        QVERIFY(!shiftAllElements(lampHistory, 1, 0, 150, 50, prompts));
        QCOMPARE(lampsOnly.deskElements().at(0).X, 149);
    }

    void shiftByZeroAndOutsideTiles()
    {
        ScriptedPrompts prompts;
        StationDocument doc;
        doc.tiles().append(tile(3, 3, KOL));
        doc.setStatus(DocumentStatus::Saved);
        QVERIFY(shift(doc, 0, 0, 150, 50, prompts));
        QCOMPARE(doc.status(), DocumentStatus::Saved);
        QVERIFY(prompts.messages.isEmpty());

        // Tiles read from a file anywhere in the 32-bit range: the check
        // neither overflows nor lets them through.
        doc.tiles().append(tile(INT_MAX, INT_MIN, KOL));
        QVERIFY(!shift(doc, 0, 0, 150, 50, prompts));
        QVERIFY(!shift(doc, 1, 1, 150, 50, prompts));
        QVERIFY(!shift(doc, INT_MIN, INT_MAX, 150, 50, prompts));
        QCOMPARE(prompts.messages.size(), 3);
        QCOMPARE(cells(doc.tiles()), QList<QPoint>({{3, 3}, {INT_MAX, INT_MIN}}));
        QCOMPARE(doc.status(), DocumentStatus::Saved);

        StationDocument far;
        far.tiles().append(tile(INT_MAX, 0, KOL));
        QVERIFY(!shift(far, INT_MIN, 0, 150, 50, prompts));
        QVERIFY(shift(far, -(INT_MAX - 5), 0, 150, 50, prompts));
        QCOMPARE(far.tiles().at(0).X, 5);
    }
};

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
