// The wiring windows driven by their controls' names: the I/O points
// window (marks, sorting, filters, typing in place, giving pins in order,
// export, following edits), the areas window, the parts list export, and
// an area's frame on the panel's pixels.
#include "analysis/PartsList.h"
#include "document/StationHistory.h"
#include "render/AreaFrames.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"
#include "render/index/ElementIndex.h"
#include "support/ScriptedPrompts.h"
#include "render/SystemColours.h"
#include "wiring/IoPointModel.h"
#include "wiring/WiringEdits.h"
#include "wiring/Wiring.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace kalmor;

namespace {

TPoleZarovka lamp(qint32 x, qint32 y, const char *kind, std::optional<IoAddress> a = {})
{
    TPoleZarovka z{x, y, 0, 0, QString::fromLatin1(kind)};
    if (a)
        z.IO.set(*IoRoleCode::from(QByteArray(kind).mid(4, 2)), *a);
    return z;
}

// Lamps at (0..4, 0): the first two share 1.1, the third has 1.3.
StationData station()
{
    StationData d;
    d.lamps.append(lamp(0, 0, "ZAR_CE_ZH", IoAddress{1, 1}));
    d.lamps.append(lamp(1, 0, "ZAR_ZE_ZH", IoAddress{1, 1}));
    d.lamps.append(lamp(2, 0, "ZAR_BI_ZH", IoAddress{1, 3}));
    d.lamps.append(lamp(3, 0, "ZAR_OR_ZH"));
    d.lamps.append(lamp(4, 0, "ZAR_CE_ZH"));
    d.areas.append({3, 0, 2, 1, QStringLiteral("Zhlaví A")});
    return d;
}

QString address(const StationDocument &doc, int lampIndex)
{
    const TPoleZarovka &z = doc.lamps().at(lampIndex);
    return QString::fromLatin1(ioValueText(z.IO));
}

struct Editor {
    StationDocument doc;
    StationHistory history{doc};
    ScriptedPrompts prompts;
    QWidget parent;
    CellRect selected;
    QList<QPoint> centred;
    Wiring wiring{history, prompts,
                  AreaWindowHooks{[this] { return selected; }, [this](const CellRect &r) { selected = r; },
                                  [this](QPoint c) { centred << c; }},
                  &parent};
};

template <class W>
W *child(QWidget *w, const char *name)
{
    auto *c = w->findChild<W *>(QLatin1String(name));
    if (!c)
        qWarning() << "no" << name;
    return c;
}

}  // namespace

class TestWiringWindows : public QObject {
    Q_OBJECT
private slots:
    void ioPointsWindow();
    void areasWindowAndPartsList();
    void areaFramePixels();
};

void TestWiringWindows::ioPointsWindow()
{
    Editor e;
    e.doc.takeOver(station());
    QAction open(QStringLiteral("Vstupní/výstupní body")), areas, parts;
    e.wiring.connectMenu(&open, &areas, &parts);
    open.trigger();
    IoPointsWindow *w = e.wiring.ioWindow();
    QVERIFY(w->isVisible());
    auto *table = child<QTableView>(w, "TV_Body");
    auto *model = static_cast<IoPointModel *>(table->model());
    QCOMPARE(model->rowCount(), 5);
    const auto cell = [&](int row, int column) { return model->index(row, column).data().toString(); };
    const auto red = [&](int row) { return model->index(row, 0).data(Qt::BackgroundRole).isValid(); };
    QCOMPARE(cell(0, 0), QStringLiteral("ZAR_CE_ZH X0 Y0.CE"));
    QCOMPARE(cell(0, IoPointModel::Direction), QStringLiteral("výstup"));
    QCOMPARE(cell(3, IoPointModel::Area), QStringLiteral("Zhlaví A"));
    QVERIFY(red(0) && red(1) && !red(2) && !red(3));

    // Sorting by pin puts points without one last; filters by text and area.
    table->sortByColumn(IoPointModel::Pin, Qt::DescendingOrder);
    QCOMPARE(cell(2, IoPointModel::Pin), QStringLiteral("3"));
    table->sortByColumn(IoPointModel::Pin, Qt::AscendingOrder);
    QCOMPARE(cell(2, IoPointModel::Pin), QStringLiteral("3"));
    QCOMPARE(cell(3, IoPointModel::Pin), QString());
    QTest::keyClicks(child<QLineEdit>(w, "E_Filtr"), QStringLiteral("ze_zh"));
    QCOMPARE(model->rowCount(), 1);
    // The labels' own text in any letter case, never across two labels.
    child<QLineEdit>(w, "E_Filtr")->clear();
    QTest::keyClicks(child<QLineEdit>(w, "E_Filtr"), QStringLiteral("Y0.ce"));
    QCOMPARE(model->rowCount(), 2);
    child<QLineEdit>(w, "E_Filtr")->clear();
    QTest::keyClicks(child<QLineEdit>(w, "E_Filtr"), QStringLiteral(".cezar"));
    QCOMPARE(model->rowCount(), 0);
    child<QLineEdit>(w, "E_Filtr")->clear();
    child<QComboBox>(w, "CB_Oblast")->setCurrentIndex(2);
    QCOMPARE(model->rowCount(), 2);
    child<QComboBox>(w, "CB_Oblast")->setCurrentIndex(0);
    table->sortByColumn(IoPointModel::Cell, Qt::AscendingOrder);

    // Typed in place: a pin of 0 is refused at typing, 2 parts the shared
    // pin, one step each; a board for a point without address takes the
    // first pin free there.
    const auto type = [&](int row, int column, const QString &text) {
        table->setCurrentIndex(model->index(row, column));
        table->edit(model->index(row, column));
        auto *editor = table->findChild<QLineEdit *>(QStringLiteral("E_Cislo"));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits queued, and the editor goes later still.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    type(1, IoPointModel::Pin, QStringLiteral("02"));
    QCOMPARE(address(e.doc, 1), QStringLiteral("ZE:1.2"));
    QVERIFY(!red(0) && !red(1));
    QCOMPARE(e.history.undoSteps(), 1);
    type(3, IoPointModel::Board, QStringLiteral("1"));
    QCOMPARE(address(e.doc, 3), QStringLiteral("OR:1.4"));
    type(3, IoPointModel::Board, QString());
    QVERIFY(e.doc.lamps().at(3).IO.isEmpty());
    QCOMPARE(e.history.undoSteps(), 3);

    // Pins in order on board 7 for the rows chosen, one step; an undo
    // takes all back.
    child<QSpinBox>(w, "SE_Deska")->setValue(7);
    table->selectionModel()->select(model->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table->selectionModel()->select(model->index(4, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::mouseClick(child<QPushButton>(w, "B_PriraditPostupne"), Qt::LeftButton);
    QCOMPARE(address(e.doc, 1), QStringLiteral("ZE:7.1"));
    QCOMPARE(address(e.doc, 4), QStringLiteral("CE:7.2"));
    QCOMPARE(e.history.undoName(), AssignStepName);
    QVERIFY(e.history.undo());
    QCOMPARE(address(e.doc, 1), QStringLiteral("ZE:1.2"));
    QCOMPARE(cell(1, IoPointModel::Board), QStringLiteral("1"));

    // The window follows an edit made elsewhere.
    StationEdit edit(e.doc);
    edit.append(lamp(9, 9, "ZAR_BI_ZH", IoAddress{1, 3}));
    e.history.commit(std::move(edit), QStringLiteral("Vložení"));
    QCOMPARE(model->rowCount(), 6);
    QVERIFY(red(2) && red(5));

    // The rows shown, as the wire list; double click goes to the cell;
    QTemporaryDir dir;
    e.prompts.csvPaths.push_back(dir.filePath(QStringLiteral("vodice.csv")));
    QTest::mouseClick(child<QPushButton>(w, "B_Exportovat"), Qt::LeftButton);
    QFile csv(dir.filePath(QStringLiteral("vodice.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines[6], QByteArray("ZAR_BI_ZH X9 Y9.BI;výstup;ZAR_BI_ZH;9;9;;1;3\r"));
    emit table->activated(model->index(4, 0));
    QCOMPARE(e.centred, QList<QPoint>{QPoint(4, 0)});
}

void TestWiringWindows::areasWindowAndPartsList()
{
    Editor e;
    e.doc.takeOver(station());
    e.wiring.showAreasWindow();
    AreasWindow *w = e.wiring.areasWindow();
    auto *table = child<QTableView>(w, "TV_Oblasti");
    QAbstractItemModel *model = table->model();
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->index(0, AreaModel::Size).data().toString(), QStringLiteral("2 × 1"));
    QCOMPARE(model->index(0, AreaModel::Elements).data().toString(), QStringLiteral("2"));

    // Nothing selected: said, nothing added. Then an area of the selected
    // cells, its name open for typing.
    QTest::mouseClick(child<QPushButton>(w, "B_PridatZVyberu"), Qt::LeftButton);
    QCOMPARE(e.prompts.messages.size(), 1);
    e.selected = CellRect{1, 0, 4, 2};
    QTest::mouseClick(child<QPushButton>(w, "B_PridatZVyberu"), Qt::LeftButton);
    QCOMPARE(e.doc.areas().at(1), (TOblast{1, 0, 4, 3, QStringLiteral("Oblast 1")}));
    auto *name = table->findChild<QLineEdit *>(QStringLiteral("E_NazevOblasti"));
    QVERIFY(name);
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Kolej;1"));  // ";" refused at typing
    QTest::keyClick(name, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(e.doc.areas().at(1).NAME, QStringLiteral("Kolej1"));
    QCOMPARE(model->index(1, AreaModel::Elements).data().toString(), QStringLiteral("4"));

    // Shown and selected; deleted; every change one step.
    table->setCurrentIndex(model->index(1, 0));
    QTest::mouseClick(child<QPushButton>(w, "B_ZobrazitOblast"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(w, "B_VybratOblast"), Qt::LeftButton);
    QCOMPARE(e.centred, QList<QPoint>{QPoint(2, 1)});
    QCOMPARE(e.selected, (CellRect{1, 0, 4, 2}));
    table->selectionModel()->select(model->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::mouseClick(child<QPushButton>(w, "B_SmazatOblast"), Qt::LeftButton);
    QCOMPARE(e.doc.areas().count(), 1);
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(e.history.undoSteps(), 3);
    QVERIFY(e.history.undo());
    QCOMPARE(model->rowCount(), 2);

    // The parts list goes to the file the dialog names.
    QTemporaryDir dir;
    e.prompts.csvPaths.push_back(dir.filePath(QStringLiteral("kusovnik.csv")));
    QVERIFY(e.wiring.exportPartsList());
    QCOMPARE(e.prompts.csvDialogs.last(), QStringLiteral("Exportovat kusovník"));
    QFile csv(dir.filePath(QStringLiteral("kusovnik.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(), partsListCsv(partsList(e.doc.data())));
    e.prompts.csvPaths.push_back(dir.filePath(QStringLiteral("none/kusovnik.csv")));
    QVERIFY(!e.wiring.exportPartsList());
    QCOMPARE(e.prompts.warnings.size(), 1);
}

void TestWiringWindows::areaFramePixels()
{
    StationData doc;
    doc.areas.append({1, 1, 3, 2, QStringLiteral("Zhlaví")});
    RenderState state;
    state.switches = ViewSwitches{false, false, false, false};
    state.surfaceSize = QSize(10 * 47, 6 * 47);
    const ImageSet images;
    CanvasState canvas;
    ElementIndex index;
    const auto frame = [&](const QRect &part) {
        QImage image;
        composeFrame(image, part, doc, state, EditingView{}, images, canvas, index);
        return image;
    };
    const QImage whole = frame(QRect(QPoint(0, 0), state.surfaceSize));
    const auto px = [&whole](int x, int y) { return whole.pixel(x, y); };
    const auto dash = [](int along) { return AreaDashColours[(along / AreaDashLength) & 1]; };
    // Dashes along the edges, two pixels deep, six long; the fill inside.
    for (const int x : {47 + 100, 47 + 103, 47 + 106}) {
        QCOMPARE(px(x, 47), dash(x));
        QCOMPARE(px(x, 48), dash(x));
        QCOMPARE(px(x, 3 * 47 - 1), dash(x));
    }
    QVERIFY(dash(47 + 100) != dash(47 + 106));
    QCOMPARE(px(47 * 4 - 1, 47 + 50), dash(47 + 50));
    QCOMPARE(px(47 * 4 - 2, 47 + 50), dash(47 + 50));
    QCOMPARE(px(47 * 4 - 3, 47 + 50), toQColor(state.fillColour).rgb());
    QCOMPARE(px(47 + 60, 47 + 60), toQColor(state.fillColour).rgb());
    // The name's box: its colour, with dark letters in it.
    QCOMPARE(px(47 + 3, 47 + 3), AreaDashColours[0]);
    const QImage box = whole.copy(47 + 2, 47 + 2, 50, 12);
    QVERIFY(box.pixel(0, 0) == AreaDashColours[0] && std::count(reinterpret_cast<const QRgb *>(box.constBits()),
                                                                   reinterpret_cast<const QRgb *>(box.constBits()) + 600,
                                                                   AreaNameColour) > 20);
    // A part composed alone has the pixels of the whole.
    const QRect part(50, 40, 90, 30);
    QCOMPARE(frame(part), whole.copy(part));
    // Switched off, or in a picture, no frame.
    state.switches.areas = false;
    QCOMPARE(frame(QRect(0, 0, 200, 200)).pixel(47 + 100, 47), toQColor(state.fillColour).rgb());
}

QTEST_MAIN(TestWiringWindows)
#include "test_wiring_windows.moc"
