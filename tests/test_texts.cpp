// Texts on label plates: the rules of "Najít" and its window, the plate
// text field, picking, the in-place editor with its undo step, refused
// characters, and the text pixels of a frame.
#include "analysis/TextDuplicates.h"
#include "document/StationText.h"
#include "document/Windows1250.h"
#include "editing/FindWindow.h"
#include "editing/LabelPropertiesPage.h"
#include "editing/PlateTextEditor.h"
#include "editing/TextSearch.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"
#include "render/index/ElementIndex.h"
#include "support/EditingWidgets.h"
#include "support/TestRecords.h"
#include "support/TypeText.h"

#include <QRandomGenerator>
#include <QShortcut>
#include <QTreeView>

using namespace kalmor;
using namespace kalmor::editingtest;

namespace {

const QString Dole = QStringLiteral("STI_Cely_Dole");

// The whole surface of the station at one cell size, no overlays.
QImage wholeFrame(const StationData &doc, int cell, bool texts, bool index = true)
{
    static const ImageSet images;
    RenderState state;
    state.cellSize = cell;
    state.appliedColumns = doc.columns;
    state.appliedRows = doc.rows;
    state.surfaceSize = QSize(doc.columns * cell, doc.rows * cell);
    state.switches = ViewSwitches{false, false, false, false};
    state.switches.texts = texts;
    CanvasState canvas;
    ElementIndex cells;
    QImage frame;
    const QRect all(QPoint(0, 0), state.surfaceSize);
    if (index)
        composeFrame(frame, all, doc, state, EditingView{}, images, canvas, cells);
    else
        composeFrameWalkingEveryElement(frame, all, doc, state, EditingView{}, images, canvas);
    return frame;
}

// The pixels in which two frames differ.
QRect differing(const QImage &a, const QImage &b)
{
    QRect out;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                out |= QRect(x, y, 1, 1);
        }
    }
    return out;
}

int darkPixels(const QImage &image, const QRect &area)
{
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 90;
    }
    return dark;
}

}  // namespace

class TestTexts : public QObject {
    Q_OBJECT
private slots:
    void findHitRules();
    void searchFollowsEdits();
    void textPixels();
    void designationPixels();
    void plateTextFieldPickAndEditor();
    void findWindow();
    void duplicatesFollowEdits();
};

void TestTexts::findHitRules()
{
    struct Case {
        QString typed;
        QString text;
        bool found;
    };
    const QList<Case> cases{
        {QStringLiteral("kolej"), QStringLiteral("Kolej 1a"), true},
        {QStringLiteral("KOLEJ 1A"), QStringLiteral("Kolej 1a"), true},
        {QStringLiteral("cesta"), QStringLiteral("Cesta"), true},
        {QStringLiteral("ej 1"), QStringLiteral("Kolej 1a"), true},
        {QStringLiteral("výh"), QStringLiteral("vyh"), false},
        {QStringLiteral("vyh"), QStringLiteral("Výhybka 5"), true},
        {QStringLiteral("VÝH"), QStringLiteral("výhybka"), true},
        {QStringLiteral("dolni"), QStringLiteral("Stanice Dolní Lhota"), true},
        {QStringLiteral("dolní"), QStringLiteral("Stanice Dolni Lhota"), false},
        {QStringLiteral("r"), QStringLiteral("Ř"), true},
        {QStringLiteral("ř"), QStringLiteral("R"), false},
        {QStringLiteral("é"), QStringLiteral("ě"), false},
        {QStringLiteral("lhotaa"), QStringLiteral("Lhota"), false},
        {QStringLiteral("1b"), QStringLiteral("Kolej 1a"), false},
        {QString(), QStringLiteral("Kolej"), false},
    };
    for (const Case &c : cases)
        QVERIFY2(textMatches(c.typed, c.text) == c.found, qPrintable(c.typed + QStringLiteral(" / ") + c.text));
}

// The search keeps the texts folded and follows the edits of the plates
// and the desk elements: after any series of them it finds what a walk
// over every plate and desk element finds.
void TestTexts::searchFollowsEdits()
{
    const QStringList words{QStringLiteral("Kolej 1"), QStringLiteral("kolej 2a"), QStringLiteral("Výhybka"),
                            QStringLiteral("S1"), QString(), QStringLiteral("Stanice Dolní Lhota")};
    QRandomGenerator random(24);
    StationDocument doc;
    const auto plate = [&] {
        return TPoleStitek{Dole, random.bounded(30), random.bounded(30), words.at(random.bounded(words.size()))};
    };
    const auto element = [&] {
        return TPolePrvek{random.bounded(30), random.bounded(30), QStringLiteral("NAV_HL_L"),
                          words.at(random.bounded(words.size()))};
    };
    for (int i = 0; i < 200; ++i) {
        doc.plates().append(plate());
        doc.deskElements().append(element());
    }
    TextSearch search;
    const auto editList = [&](StationEdit &edit, const auto &list, auto make, int round) {
        using Record = std::decay_t<decltype(make())>;
        switch (round % 4) {
        case 0: edit.append(make()); break;
        case 1: edit.replace(random.bounded(int(list.count())), make()); break;
        case 2: edit.template removeAt<Record>(random.bounded(int(list.count()))); break;
        default: edit.template removeAll<Record>({0, qint32(random.bounded(1, int(list.count())))}); break;
        }
    };
    for (int round = 0; round < 60; ++round) {
        StationEdit edit(doc);
        if (round % 3 == 2)
            editList(edit, doc.deskElements(), element, round);
        else
            editList(edit, doc.plates(), plate, round);
        if (round % 7 == 0)
            doc.plates().shift(1, 0);
        for (const QString &typed : {QStringLiteral("kolej"), QStringLiteral("vyh"), QStringLiteral("lní")}) {
            std::vector<TextHit> walked;
            const auto walk = [&](const auto &list, bool desk) {
                for (qint32 p = 0; p < list.count(); ++p) {
                    if (textMatches(typed, list.at(p).TEXT))
                        walked.push_back({QPoint(list.at(p).X, list.at(p).Y), p, desk});
                }
            };
            walk(doc.plates(), false);
            walk(doc.deskElements(), true);
            std::sort(walked.begin(), walked.end(), [](const TextHit &a, const TextHit &b) {
                return std::tuple(a.cell.y(), a.cell.x(), a.desk, a.position)
                    < std::tuple(b.cell.y(), b.cell.x(), b.desk, b.position);
            });
            const std::vector<TextHit> found = search.search(doc.data(), TextNeedle(typed));
            QVERIFY(!found.empty());
            QVERIFY2(std::equal(found.begin(), found.end(), walked.begin(), walked.end(),
                                [](const TextHit &a, const TextHit &b) {
                                    return a.cell == b.cell && a.position == b.position && a.desk == b.desk;
                                }),
                     qPrintable(QStringLiteral("round %1, %2").arg(round).arg(typed)));
        }
    }
}

// A desk element's designation stands in the strip under its picture,
// a group button's on its face; below 24 pixels a cell shows none. The
// index and the plain walk agree, and the picture of the frame is the
// same without designations wherever they are not.
void TestTexts::designationPixels()
{
    StationData doc;
    doc.columns = 12;
    doc.rows = 3;
    doc.deskElements.append({1, 1, QStringLiteral("TLA_VC"), QStringLiteral("Se12")});
    doc.deskElements.append({5, 1, QStringLiteral("TLA_SK"), QStringLiteral("5")});
    doc.deskElements.append({9, 1, QStringLiteral("NAV_HL_P")});
    for (const int cell : {47, 24, 23}) {
        const QImage on = wholeFrame(doc, cell, true);
        const QImage off = wholeFrame(doc, cell, false);
        QCOMPARE(on, wholeFrame(doc, cell, true, false));
        if (cell < SmallestDesignationCell) {
            QCOMPARE(on, off);
            continue;
        }
        const QRect button(cell, cell, cell, cell);
        const QRect face(5 * cell, cell, cell, cell);
        QVERIFY(darkPixels(on, button.adjusted(0, cell * 2 / 3, 0, 0)) > cell / 8);
        QVERIFY(differing(on.copy(button), off.copy(button)).top() >= cell / 2);
        const QRect onFace = differing(on.copy(face), off.copy(face));
        QVERIFY2(onFace.top() > cell / 4 && onFace.bottom() < cell * 3 / 4, qPrintable(QString::number(cell)));
        QVERIFY(differing(on, off).bottom() < 2 * cell);
        QCOMPARE(on.copy(8 * cell, 0, 4 * cell, 3 * cell), off.copy(8 * cell, 0, 4 * cell, 3 * cell));
    }
}

// "Kolej 1" at the bottom of its cell, "S1" at the top across a tile's
// edge, and "Stanice Dolní Lhota", wider than its cell, over the track of
// its neighbours.
void TestTexts::textPixels()
{
    StationData doc;
    doc.columns = 30;
    doc.rows = 4;
    doc.plates.append({Dole, 1, 1, QStringLiteral("Kolej 1")});
    doc.plates.append({QStringLiteral("STI_Cely_Nahore"), 5, 1, QStringLiteral("S1")});
    doc.tiles.append(tile(11, 2, QStringLiteral("KOL_sLSPS")));
    doc.tiles.append(tile(13, 2, QStringLiteral("KOL_sLSPS")));
    doc.plates.append({QStringLiteral("STI_Cely_Uprostred"), 12, 2, QStringLiteral("Stanice Dolní Lhota")});
    for (const int cell : {47, 20}) {
        const QImage on = wholeFrame(doc, cell, true);
        const QImage off = wholeFrame(doc, cell, false);
        if (qEnvironmentVariableIsSet("KALMOR_TEXT_FRAMES"))
            on.save(QStringLiteral("%1/texts_%2.png").arg(qEnvironmentVariable("KALMOR_TEXT_FRAMES")).arg(cell));
        // Black letters in the middle of the plate's band, the lower part
        // of the cell; nothing of them above the band.
        const QRect kolej(cell + cell / 6, cell, cell * 2 / 3, cell);
        QVERIFY2(darkPixels(on, kolej) > cell / 2, qPrintable(QString::number(cell)));
        QCOMPARE(darkPixels(off, kolej), 0);
        QCOMPARE(darkPixels(on, kolej.adjusted(0, 0, 0, -cell / 2)), 0);
        // Every change lies in the plates' rows; the long text reaches the
        // tiles of the cells left and right of its own.
        const QRect changed = differing(on, off);
        QVERIFY(changed.top() >= cell && changed.bottom() < 3 * cell);
        QVERIFY2(changed.left() < 12 * cell && changed.right() >= 13 * cell, qPrintable(QString::number(cell)));
        QVERIFY(differing(on.copy(11 * cell, 2 * cell, cell, cell), off.copy(11 * cell, 2 * cell, cell, cell)).width() > cell / 2);
        // The tiles of 256 pixels of a frame, composed apart on several
        // threads, join without a seam, as does a view cut out of it; the
        // plain walk over every plate agrees.
        QCOMPARE(on, wholeFrame(doc, cell, true, false));
        RenderState state;
        state.cellSize = cell;
        state.appliedColumns = doc.columns;
        state.appliedRows = doc.rows;
        state.surfaceSize = on.size();
        state.switches = ViewSwitches{false, false, false, false};
        const QRect view(cell * 5 - 7, 3, 250, 2 * cell);
        static const ImageSet images;
        CanvasState canvas;
        ElementIndex index;
        QImage part;
        composeFrame(part, view, doc, state, EditingView{}, images, canvas, index);
        QCOMPARE(part, on.copy(view));
    }
    // At small cells a long text reaches several cells beside its own:
    // views that begin or end four cells or more from its plate show the
    // text's ends, the very same pixels, also when the text grew long by
    // an edit the frames followed.
    const int cell = SmallestTextCell;
    doc.plates.clear();
    doc.plates.append({Dole, 5, 1, QStringLiteral("S1")});
    static const ImageSet images;
    RenderState state;
    state.cellSize = cell;
    state.appliedColumns = doc.columns;
    state.appliedRows = doc.rows;
    state.surfaceSize = QSize(doc.columns * cell, doc.rows * cell);
    state.switches = ViewSwitches{false, false, false, false};
    const std::array<QRect, 2> views{QRect(0, 3 * cell, 16 * cell, cell), QRect(24 * cell, 3 * cell, 60, cell)};
    std::array<CanvasState, 2> canvases;
    std::array<ElementIndex, 2> indexes;
    QImage part;
    doc.plates.append({Dole, 20, 3, QStringLiteral("Z")});
    for (std::size_t v = 0; v < views.size(); ++v)
        composeFrame(part, views[v], doc, state, EditingView{}, images, canvases[v], indexes[v]);
    doc.plates.replace(doc.plates.count() - 1, {Dole, 20, 3, QStringLiteral("Stanice Dolní Lhota – zhlaví A")});
    const QImage on = wholeFrame(doc, cell, true);
    const QImage off = wholeFrame(doc, cell, false);
    for (std::size_t v = 0; v < views.size(); ++v) {
        QVERIFY(on.copy(views[v]) != off.copy(views[v]));
        composeFrame(part, views[v], doc, state, EditingView{}, images, canvases[v], indexes[v]);
        QCOMPARE(part, on.copy(views[v]));
    }
    // A text whose letters are all drawn for the first time, so that the
    // table of letters grows while the text is put together, is as wide
    // as its letters.
    QString every;
    for (int b = 0x21; b < 0x100; ++b) {
        const char byte = char(b);
        every += decodeWindows1250(QByteArrayView(&byte, 1));
    }
    const int whole = images.texts().picture(every, 33)->advance;
    int letters = 0;
    for (const QChar c : every)
        letters += images.texts().picture(QString(c), 33)->advance;
    QCOMPARE(whole, letters);
    // How far a text of n characters can reach bounds every character a
    // station file holds, at small and large cells.
    for (const int size : {SmallestTextCell, 20, 47, 1047}) {
        const TextLook look = images.texts().look(size);
        for (int b = 0x20; b < 0x100; ++b) {
            const char byte = char(b);
            const QString letter = decodeWindows1250(QByteArrayView(&byte, 1));
            QVERIFY2(images.texts().picture(letter, size)->advance <= look.widestCharacter, qPrintable(letter));
        }
    }
    // Below a readable size no text is drawn.
    QCOMPARE(wholeFrame(doc, SmallestTextCell - 1, true), wholeFrame(doc, SmallestTextCell - 1, false));
    QVERIFY(wholeFrame(doc, SmallestTextCell, true) != wholeFrame(doc, SmallestTextCell, false));
}

void TestTexts::plateTextFieldPickAndEditor()
{
    Fixture f;
    StationDocument doc;
    StationHistory history(doc);
    ScriptedPrompts prompts;
    f.label->setPrompts(&prompts);
    QWidget surface;
    surface.resize(600, 300);
    surface.show();
    PointerInput pointer(history, [] { return 47; }, [&f] {
        return currentPlacementInputs(f.selection->currentKind(), *f.corner, *f.lamp, f.label);
    });
    PlateTextEditor editor(history, &surface, [] { return 47; }, &prompts);
    connect(&pointer, &PointerInput::textEditRequested, &editor, &PlateTextEditor::edit);
    connect(&pointer, &PointerInput::pickRequested, &pointer, [&](QPoint cell) {
        pickElement(doc.data(), cell, *f.selection, *f.corner, *f.lamp, f.label);
    });
    const auto at = [](int column) { return column * 47 + 5; };
    const auto click = [&](int column, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {}) {
        pointer.mouseMoved(at(column), 50);
        pointer.mousePressed(button, at(column), 50, keys);
        pointer.mouseReleased(button, at(column), 50);
    };
    const auto doubleClick = [&](int column) {
        click(column);
        pointer.mouseDoubleClicked(Qt::LeftButton, at(column), 50);
        pointer.mouseReleased(Qt::LeftButton, at(column), 50);
    };
    QLineEdit *field = f.label->textField();
    QCOMPARE(field->objectName(), QStringLiteral("Edit1"));
    QVERIFY(field->isEnabled() && f.label->findChild<QLabel *>(QStringLiteral("Label7"))->isEnabled());

    // The field's text goes on the next plate placed, over a plate too.
    QVERIFY(f.selection->chooseKindByName(Dole));
    QTest::keyClicks(field, QStringLiteral("Kolej 1"));
    click(2);
    field->clear();
    click(3);
    QTest::keyClicks(field, QStringLiteral("S1"));
    click(2);
    QCOMPARE(doc.plates().count(), 2);
    QCOMPARE(doc.plates().at(0), (TPoleStitek{Dole, 2, 1, QStringLiteral("S1")}));
    QVERIFY(doc.plates().at(1).TEXT.isEmpty());
    // Refused as typed: a ";" and a character the file cannot hold.
    QTest::keyClicks(field, QStringLiteral(";"));
    typeText(field, QStringLiteral("→"));
    QCOMPARE(field->text(), QStringLiteral("S1"));
    QTRY_COMPARE(prompts.warnings.size(), 2);
    QCOMPARE(prompts.warnings.front(), refusedPlateTextMessage());

    // Ctrl + right click picks the plate's kind and text.
    field->clear();
    QVERIFY(f.selection->chooseKindByName(QStringLiteral("KOL_sLSPS")));
    click(2, Qt::RightButton, Qt::ControlModifier);
    QCOMPARE(f.selection->currentKind(), Dole);
    QCOMPARE(field->text(), QStringLiteral("S1"));

    // A double click on the plate opens the editor with its text; what the
    // first click placed (a track tile) is withdrawn.
    QVERIFY(f.selection->chooseKindByName(QStringLiteral("KOL_sLSPS")));
    const qsizetype steps = history.undoSteps();
    doubleClick(2);
    QVERIFY(editor.isOpen() && editor.field()->isVisible());
    QCOMPARE(editor.field()->text(), QStringLiteral("S1"));
    QCOMPARE(doc.tiles().count(), 0);
    QCOMPARE(history.undoSteps(), steps);
    QVERIFY(!history.canRedo());
    QTest::keyClicks(editor.field(), QStringLiteral("Kolej;"));
    QTest::keyClick(editor.field(), Qt::Key_Return);
    QVERIFY(!editor.isOpen());
    QCOMPARE(doc.plates().at(0).TEXT, QStringLiteral("Kolej"));
    QCOMPARE(history.undoSteps(), steps + 1);
    QCOMPARE(history.undoName(), QStringLiteral("Změna textu popisku"));
    QVERIFY(history.undo());
    QCOMPARE(doc.plates().at(0).TEXT, QStringLiteral("S1"));
    QVERIFY(history.redo());
    QCOMPARE(doc.plates().at(0).TEXT, QStringLiteral("Kolej"));
    // Esc leaves the plate as it was.
    doubleClick(2);
    QTest::keyClicks(editor.field(), QStringLiteral("x"));
    QTest::keyClick(editor.field(), Qt::Key_Escape);
    QVERIFY(!editor.isOpen());
    QCOMPARE(doc.plates().at(0).TEXT, QStringLiteral("Kolej"));
    QCOMPARE(history.undoSteps(), steps + 1);
    // Where there is no plate a double click is two clicks.
    doubleClick(5);
    QVERIFY(!editor.isOpen());
    QCOMPARE(doc.tiles().count(), 1);
    QCOMPARE(history.undoSteps(), steps + 2);
}

void TestTexts::findWindow()
{
    StationDocument doc;
    doc.plates().append({Dole, 3, 4, QStringLiteral("Kolej 1a")});
    doc.plates().append({Dole, 1, 2, QStringLiteral("Cesta")});
    doc.plates().append({Dole, 5, 5, QStringLiteral("výhybka")});
    doc.plates().append({Dole, 0, 9, QStringLiteral("kolej 2")});
    FindWindow window(doc);
    window.open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.isWindow() && !window.isModal());
    QSignalSpy chosen(&window, &FindWindow::cellChosen);
    QTest::keyClicks(window.field(), QStringLiteral("kolej"));
    QAbstractItemModel *hits = window.list()->model();
    QCOMPARE(hits->rowCount(), 2);
    QCOMPARE(hits->index(0, 0).data().toString(), QStringLiteral("3, 4"));
    QCOMPARE(hits->index(0, 1).data().toString(), Dole);
    QCOMPARE(hits->index(1, 2).data().toString(), QStringLiteral("kolej 2"));
    QTest::keyClick(window.field(), Qt::Key_Return);
    QCOMPARE(chosen.takeFirst().at(0).toPoint(), QPoint(3, 4));
    QTest::keyClick(window.field(), Qt::Key_F3);
    QCOMPARE(chosen.takeFirst().at(0).toPoint(), QPoint(0, 9));
    QTest::keyClick(window.field(), Qt::Key_F3);
    QCOMPARE(chosen.takeFirst().at(0).toPoint(), QPoint(3, 4));
    // The list follows the station's edits while the window is open.
    doc.plates().replace(2, {Dole, 7, 1, QStringLiteral("Kolej 3")});
    window.followEdits();
    QCOMPARE(hits->rowCount(), 3);
    QCOMPARE(hits->index(0, 2).data().toString(), QStringLiteral("Kolej 3"));
    const QModelIndex last = hits->index(2, 0);
    window.list()->setCurrentIndex(last);
    QTest::keyClick(window.list(), Qt::Key_Return);
    QCOMPARE(chosen.takeFirst().at(0).toPoint(), QPoint(0, 9));
}

// The warnings about shared texts follow the plate list's edits: after
// any series of them they are what analysing the station anew gives.
void TestTexts::duplicatesFollowEdits()
{
    const QStringList words{QStringLiteral("S1"), QStringLiteral("S2"), QStringLiteral("Kolej 1"), QString()};
    QRandomGenerator random(7);
    StationDocument doc;
    const auto plate = [&] {
        return TPoleStitek{Dole, random.bounded(8), random.bounded(8), words.at(random.bounded(words.size()))};
    };
    for (int i = 0; i < 12; ++i)
        doc.plates().append(plate());
    const auto listed = [](const TextDuplicates &d) {
        QStringList out;
        d.problems().forEach([&](const Problem &p) {
            out << QStringLiteral("%1 %2 %3 %4").arg(p.x).arg(p.y).arg(p.position).arg(d.kindName(p.kind));
        });
        return out;
    };
    TextDuplicates followed;
    int warned = 0;
    for (int round = 0; round < 300; ++round) {
        StationEdit edit(doc);
        switch (random.bounded(3)) {
        case 0: edit.append(plate()); break;
        case 1: edit.replace(random.bounded(int(doc.plates().count())), plate()); break;
        default:
            if (doc.plates().count() > 4)
                edit.removeAt<TPoleStitek>(random.bounded(int(doc.plates().count())));
            break;
        }
        followed.update(doc.data());
        TextDuplicates anew;
        anew.update(StationData(doc.data()));
        QCOMPARE(listed(followed), listed(anew));
        warned += followed.problems().size() > 0;
    }
    QVERIFY(warned > 100);
}

QTEST_MAIN(TestTexts)
#include "test_texts.moc"
