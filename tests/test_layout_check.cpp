// The layout check in the editor: the overlays on the frame's pixels, and
// the check window following the document and going to a problem's cell.
#include "document/StationDocument.h"
#include "document/StationHistory.h"
#include "editing/LayoutCheck.h"
#include "editing/LayoutCheckWindow.h"
#include "editing/LayoutOverlaySource.h"
#include "editing/PointerInput.h"
#include "render/index/ElementIndex.h"
#include "render/FrameComposer.h"
#include "render/FrameOverlays.h"
#include "render/ImageSet.h"
#include "render/Viewport.h"
#include "support/TestRecords.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTreeView>

using namespace kalmor;

namespace {

// A run split by a boundary, a plate across the middle of one of its
// tiles, and a lone tile with two open ends.
StationData station()
{
    StationData doc;
    doc.columns = 12;
    doc.rows = 6;
    const auto add = [&doc](qint32 x, qint32 y, const char *name) {
        TPolePanelu t = tile(x, y, QString::fromLatin1(name));
        t.Cont_LS = t.Cont_PS = true;
        doc.tiles.append(t);
    };
    add(1, 1, "KOZ_sPS");
    add(2, 1, "KOL_sLSPS");
    add(3, 1, "HKO_sLSPS");
    add(4, 1, "KOL_sLSPS");
    add(5, 1, "KOZ_sLS");
    add(8, 3, "KOL_sLSPS");
    doc.plates.append(TPoleStitek{QStringLiteral("STI_Cely_Uprostred"), 2, 1});
    return doc;
}

}  // namespace

class TestLayoutCheck : public QObject {
    Q_OBJECT
private slots:
    void overlayPixels();
    void checkWindow();
};

void TestLayoutCheck::overlayPixels()
{
    // With the switch on, exactly the pixels that are black both in a
    // tile's picture and in the frame without the switch change: to the
    // colour of the run on their side of a boundary's middle, to the
    // tile's own colour elsewhere. Plates over the track, the black fill
    // and the other cells stay. The outline covers two pixels inside the
    // grid lines of each problem cell and nothing else.
    const ImageSet images;
    const StationData doc = station();
    LayoutAnalysis analysis;
    analysis.update(doc);
    const LayoutOverlaySource source(analysis);
    const QRgb left = analysis.tileAt(2, 1)->colour[0];
    const QRgb right = analysis.tileAt(4, 1)->colour[0];
    QVERIFY(left != right);
    for (const int cell : {47, 20}) {
        for (const Colour fill : {clGray, clBlack}) {
            RenderState state;
            state.cellSize = cell;
            state.fillColour = fill;
            state.switches = ViewSwitches{false, false, false, false, false};
            const QRect rect(0, 0, 12 * cell, 6 * cell);
            const auto compose = [&](const RenderState &s) {
                CanvasState canvas;
                ElementIndex index;
                QImage image;
                composeFrame(image, rect, doc, s, EditingView{}, images, canvas, index);
                return image;
            };
            const QImage off = compose(state);
            RenderState on = state;
            on.switches.trackCircuits = true;
            on.overlays = Overlays{&source, analysis.revision(), false};
            const QImage coloured = compose(on);
            int changed = 0;
            for (int y = 0; y < rect.height(); ++y) {
                for (int x = 0; x < rect.width(); ++x) {
                    const QPoint c(x / cell, y / cell);
                    const auto t = analysis.tileAt(c.x(), c.y());
                    QRgb want = off.pixel(x, y);
                    if (t && want == 0xFF000000) {
                        const QImage &picture = images.scaled(images.indexOf(doc.tiles.at(t->position).NAME),
                                                              QSize(cell, cell));
                        const QPoint p(x % cell, y % cell);
                        if (picture.pixel(p) == 0xFF000000)
                            want = c == QPoint(3, 1) ? (2 * p.x() < cell ? left : right) : t->colour[0];
                    }
                    if (coloured.pixel(x, y) != want)
                        QFAIL(qPrintable(QStringLiteral("pixel %1,%2 at cell size %3").arg(x).arg(y).arg(cell)));
                    changed += want != off.pixel(x, y);
                }
            }
            QVERIFY(changed > 5 * cell);

            RenderState outlined = state;
            outlined.overlays = Overlays{&source, analysis.revision(), true};
            const QImage outline = compose(outlined);
            for (int y = 0; y < rect.height(); ++y) {
                for (int x = 0; x < rect.width(); ++x) {
                    const int px = x % cell;
                    const int py = y % cell;
                    const bool band = px >= 1 && py >= 1 && (px <= 2 || py <= 2 || px >= cell - 2 || py >= cell - 2);
                    const bool problem = QPoint(x / cell, y / cell) == QPoint(8, 3);
                    QCOMPARE(outline.pixel(x, y), problem && band ? ProblemOutlineColour : off.pixel(x, y));
                }
            }
        }
    }
}

void TestLayoutCheck::checkWindow()
{
    QWidget main;
    StationDocument doc;
    doc.takeOver(station());
    Viewport viewport;
    viewport.applyPanelSize(60, 40);
    viewport.adjustScrollBars(QSize(470, 100));
    StationHistory history(doc);
    PointerInput pointer(history, [] { return 47; }, [] { return PlacementInputs{}; });
    LayoutCheck check(doc, viewport, pointer, &main);

    // Nobody looks: no analysis and no overlays.
    QCOMPARE(check.overlays(ViewSwitches{}).source, nullptr);
    QCOMPARE(check.analysis().revision(), quint64(0));
    ViewSwitches circuits;
    circuits.trackCircuits = true;
    const Overlays shown = check.overlays(circuits);
    QVERIFY(shown.source && !shown.outlineProblems);

    check.showWindow();
    LayoutCheckWindow *window = check.window();
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Kontrola panelu"));
    QVERIFY(check.overlays(ViewSwitches{}).outlineProblems);
    QTreeView *list = window->list();
    const auto cellText = [list](int row, int column) {
        return list->model()->index(row, column).data().toString();
    };
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(cellText(0, 0), QStringLiteral("8, 3"));
    QCOMPARE(cellText(0, 1), QStringLiteral("KOL_sLSPS"));
    QCOMPARE(cellText(0, 2), QStringLiteral("LS"));
    QCOMPARE(cellText(0, 3), QStringLiteral("Konec koleje bez návaznosti"));
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("L_PocetObvodu"))->text(),
             QStringLiteral("Kolejové obvody: 3"));
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("L_KonecKoleje"))->text(),
             QStringLiteral("Konec koleje bez návaznosti: 2"));

    // An edit shows at the next tick while the window is open: a second
    // tile on the lone tile's cell.
    doc.tiles().append(tile(8, 3, QStringLiteral("KOL_sSDSH")));
    check.followEdits();
    QCOMPARE(list->model()->rowCount(), 3);
    QCOMPARE(cellText(2, 3), QStringLiteral("Více prvků v jednom políčku"));
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("L_VicePrvku"))->text(),
             QStringLiteral("Více prvků v jednom políčku: 1"));

    // A double click and Enter go to the row's cell: cursor cell there,
    // the cell's middle in the middle of the visible area.
    const QModelIndex row = list->model()->index(0, 1);
    list->scrollTo(row);
    // As the window system delivers it: a click, then the second press
    // as a double click.
    const QPoint at = list->visualRect(row).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(list->viewport(), &twice);
    QCOMPARE(pointer.cursorCell(), QPoint(8, 3));
    QCOMPARE(viewport.horizontal().position, 8 * 47 + 23 - 470 / 2);
    QCOMPARE(viewport.vertical().position, 3 * 47 + 23 - 100 / 2);
    pointer.setCursorCell(QPoint(0, 0));
    viewport.setHorizontalPosition(0);
    list->setCurrentIndex(row);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(pointer.cursorCell(), QPoint(8, 3));
    QCOMPARE(viewport.horizontal().position, 8 * 47 + 23 - 470 / 2);

    window->close();
    QVERIFY(!check.overlays(circuits).outlineProblems);
}

QTEST_MAIN(TestLayoutCheck)
#include "test_layout_check.moc"
