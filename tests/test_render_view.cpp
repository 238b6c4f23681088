// Viewport rules, the render timer, and the drawing surface in its work area.
#include "document/StationDocument.h"
#include "catalogue/ElementKinds.h"
#include "view/DrawingSurface.h"
#include "render/index/ElementIndex.h"
#include "render/ImageSet.h"
#include "view/RenderTimer.h"
#include "render/Viewport.h"
#include "view/WorkArea.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace kalmor;

class TestRenderView : public QObject {
    Q_OBJECT
private slots:
    void surfaceAndCellSize();
    void scrollBarAdjustment();
    void timerTicks();
    void workArea();
    void scrollStepsAndKeys();
    void surfacePaintsVisiblePart();
    void pointerAndFocus();
    void ticksRepaintOnlyChanges();
};

void TestRenderView::surfaceAndCellSize()
{
    Viewport v;
    QCOMPARE(v.cellSize(), 47);
    QCOMPARE(v.surfaceSize(), QSize(4800, 2400));
    QCOMPARE(v.appliedColumns(), 150);
    QCOMPARE(v.appliedRows(), 50);

    // Zoom alone leaves surface and applied size; "Nastavit" follows it.
    QSignalSpy cells(&v, &Viewport::cellSizeChanged);
    v.setZoom(20);
    QCOMPARE(v.cellSize(), 67);
    QCOMPARE(cells.count(), 1);
    QCOMPARE(v.surfaceSize(), QSize(4800, 2400));
    v.applyPanelSize(150, 50);
    QCOMPARE(v.surfaceSize(), QSize(10050, 3350));
    v.setZoom(0);
    v.applyPanelSize(10, 10);
    QCOMPARE(v.surfaceSize(), QSize(470, 470));
    QCOMPARE(v.appliedColumns(), 10);

    // A zoom acts as given (the dialog's field keeps it in range); the
    // cell size stays at least 1 and at most 1047.
    v.setZoom(-47);
    QCOMPARE(v.cellSize(), 1);
    v.setZoom(-500);
    QCOMPARE(v.zoom(), -500);
    QCOMPARE(v.cellSize(), 1);
    v.setZoom(std::numeric_limits<int>::min());
    QCOMPARE(v.cellSize(), 1);
    v.setZoom(300);
    QCOMPARE(v.cellSize(), 347);
    v.setZoom(std::numeric_limits<int>::max());
    QCOMPARE(v.cellSize(), Viewport::MaxCellSize);
    v.setZoom(200);
    QCOMPARE(v.cellSize(), 247);

    // A surface larger than a widget can be is held at the widget limit.
    v.applyPanelSize(4000, 4000);
    QCOMPARE(v.surfaceSize(), QSize(988000, 988000));
    v.applyPanelSize(100000, 10);
    QCOMPARE(v.surfaceSize(), QSize(16777215, 2470));
}

void TestRenderView::scrollBarAdjustment()
{
    Viewport v;
    QSignalSpy moved(&v, &Viewport::surfacePositionChanged);
    v.adjustScrollBars(QSize(698, 286));
    QVERIFY(v.horizontal().enabled && v.vertical().enabled);
    QCOMPARE(v.horizontal().maximum, 4102);
    QCOMPARE(v.vertical().maximum, 2114);

    // Scrolled to the end, then the window grows: the position follows the
    // maximum down and the surface moves right.
    v.setHorizontalPosition(5000);
    QCOMPARE(v.horizontal().position, 4102);
    QCOMPARE(v.surfacePosition(), QPoint(-4102, 0));
    v.setVerticalPosition(50);
    QCOMPARE(v.surfacePosition(), QPoint(-4102, -50));
    v.adjustScrollBars(QSize(1000, 286));
    QCOMPARE(v.horizontal().maximum, 3800);
    QCOMPARE(v.horizontal().position, 3800);
    QCOMPARE(v.surfacePosition(), QPoint(-3800, -50));
    QCOMPARE(moved.count(), 3);

    // A small panel: both bars disabled, the surface at (0, 0); a bar keeps
    // its position 300 while disabled and after it is enabled again.
    v.setHorizontalPosition(300);
    v.applyPanelSize(10, 10);
    QVERIFY(!v.horizontal().enabled);
    QVERIFY(v.vertical().enabled);  // 470 > 286
    QCOMPARE(v.surfacePosition(), QPoint(0, -50));
    v.adjustScrollBars(QSize(1000, 600));
    QVERIFY(!v.vertical().enabled);
    QCOMPARE(v.surfacePosition(), QPoint(0, 0));
    QCOMPARE(v.horizontal().position, 300);
    QCOMPARE(v.horizontal().maximum, 3800);
    v.applyPanelSize(150, 50);
    QVERIFY(v.horizontal().enabled);
    QCOMPARE(v.horizontal().position, 300);
    QCOMPARE(v.surfacePosition(), QPoint(0, 0));
    QCOMPARE(v.horizontal().maximum, 7050 - 1000);
    QCOMPARE(v.vertical().position, 50);
}

void TestRenderView::timerTicks()
{
    X_Vykreslovac timer;
    qint64 now = 1000;
    bool active = true;
    timer.setClock([&] { return now; });
    timer.setActivity([&] { return active; });
    QSignalSpy ticks(&timer, &X_Vykreslovac::tick);

    now += 15;
    QVERIFY(!timer.tickIfDue());
    now += 85;  // 100 ms after the start
    QVERIFY(timer.tickIfDue());
    QCOMPARE(ticks.last().at(0).toInt(), 6);
    now += 16;
    QVERIFY(timer.tickIfDue());
    QCOMPARE(ticks.last().at(0).toInt(), 1);
    now += 31;
    QVERIFY(timer.tickIfDue());
    QCOMPARE(ticks.last().at(0).toInt(), 1);
    QCOMPARE(timer.frameRate(), 0);

    // No ticks while another application is active.
    active = false;
    now += 100;
    QVERIFY(!timer.tickIfDue());
    active = true;

    // The frame rate: ticks counted since the last computation, per second.
    for (int i = 0; i < 60; ++i) {
        now += 17;
        timer.tickIfDue();
    }
    QCOMPARE(ticks.count(), 63);
    // The start was at 1000; ticks at 1100, 1116, 1147, then every 17 ms
    // from 1264: the 45th of those, at 2012, is the first 1000 ms after the
    // start and makes 48 ticks in 1012 ms.
    QCOMPARE(timer.frameRate(), qRound(48 * 1000.0 / 1012));
    QCOMPARE(ticks.last().at(1).toInt(), timer.frameRate());

    // Activity: only losing an activation that the program once had stops
    // the ticks; a display without focus never stops them.
    QVERIFY(X_Vykreslovac::mayTick(false, false));
    QVERIFY(X_Vykreslovac::mayTick(true, true));
    QVERIFY(!X_Vykreslovac::mayTick(true, false));

    // Started for real, it ticks from the event loop.
    X_Vykreslovac live;
    QSignalSpy liveTicks(&live, &X_Vykreslovac::tick);
    live.start();
    QVERIFY(liveTicks.wait(1000));
    QVERIFY(liveTicks.first().at(0).toInt() >= 1);
}

void TestRenderView::workArea()
{
    StationDocument doc;
    ImageSet images;
    Viewport viewport;
    WorkArea area(doc, images, viewport);
    QCOMPARE(area.objectName(), QStringLiteral("P_PodkladPlochy"));
    auto *h = area.findChild<QScrollBar *>(QStringLiteral("SB_Vodorovny"));
    auto *v = area.findChild<QScrollBar *>(QStringLiteral("SB_Svisly"));
    auto *clip = area.findChild<QWidget *>(QStringLiteral("P_Plocha"));
    auto *surface = area.findChild<X_Plocha *>(QStringLiteral("X_Plocha"));
    QVERIFY(h && v && clip && surface);
    QCOMPARE(surface->parentWidget(), clip);

    const int frame = area.frameWidth();
    area.resize(698 + 17 + 2 * frame, 286 + 17 + 2 * frame);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QCOMPARE(clip->size(), QSize(698, 286));
    QCOMPARE(h->height(), 17);
    QCOMPARE(v->width(), 17);
    QCOMPARE(h->maximum(), 4102);
    QCOMPARE(v->maximum(), 2114);
    QVERIFY(h->isEnabled());
    QCOMPARE(surface->size(), QSize(4800, 2400));

    h->setValue(100);
    v->setValue(40);
    QCOMPARE(surface->pos(), QPoint(-100, -40));
    QCOMPARE(surface->visibleRect(), QRect(100, 40, 698, 286));

    viewport.applyPanelSize(10, 10);
    QCOMPARE(surface->size(), QSize(470, 470));
    QCOMPARE(surface->pos(), QPoint(0, -40));
    QVERIFY(!h->isEnabled() && v->isEnabled());
    QCOMPARE(h->value(), 100);
    QCOMPARE(v->maximum(), 470 - 286);
}

void TestRenderView::scrollStepsAndKeys()
{
    // An arrow click and each of a wheel notch's three lines move the view
    // by a cell (a notch at most by a page), a trough click by the visible
    // extent less a cell, at any cell size, after a zoom, "Nastavit" or a
    // resize; the view keys move by the same pages and to the edges.
    StationDocument doc;
    ImageSet images;
    Viewport viewport;
    WorkArea area(doc, images, viewport);
    QScrollBar *h = area.horizontalBar();
    QScrollBar *v = area.verticalBar();
    X_Plocha *surface = area.surface();
    area.resize(700, 500);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));

    const auto page = [&](Qt::Orientation o) {
        const QSize visible = area.clipPanel()->size();
        return (o == Qt::Horizontal ? visible.width() : visible.height()) - viewport.cellSize();
    };
    const auto at = [&](int x, int y) {
        return h->value() == x && v->value() == y && surface->pos() == QPoint(-x, -y)
               && viewport.horizontal().position == x && viewport.vertical().position == y;
    };
    const auto checkSteps = [&] {
        const int cell = viewport.cellSize();
        for (QScrollBar *bar : {h, v}) {
            bar->setValue(10);
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            QCOMPARE(bar->value(), 10 + cell);
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            QCOMPARE(bar->value(), 10 + cell + page(bar->orientation()));
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            QCOMPARE(bar->value(), 10);
            QWheelEvent notch(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(bar, &notch);
            QCOMPARE(bar->value(), 10 + std::min(3 * cell, page(bar->orientation())));
        }
        QVERIFY(at(h->value(), v->value()));
    };
    for (const int zoom : {-46, 0, 200}) {
        viewport.setZoom(zoom);
        checkSteps();
        viewport.applyPanelSize(4000, 4000);
        checkSteps();
        area.resize(area.width() + 150, area.height() + 90);
        checkSteps();
    }

    surface->setFocus();
    h->setValue(0);
    v->setValue(0);
    const int right = h->maximum();
    const int bottom = v->maximum();
    const QList<std::tuple<Qt::Key, Qt::KeyboardModifiers, int, int>> keys{
        {Qt::Key_PageDown, Qt::NoModifier, 0, page(Qt::Vertical)},
        {Qt::Key_PageDown, Qt::ShiftModifier, page(Qt::Horizontal), page(Qt::Vertical)},
        {Qt::Key_PageUp, Qt::NoModifier, page(Qt::Horizontal), 0},
        {Qt::Key_PageUp, Qt::ShiftModifier, 0, 0},
        {Qt::Key_End, Qt::NoModifier, right, 0},
        {Qt::Key_Down, Qt::NoModifier, right, 0},  // the arrows are the editing's
        {Qt::Key_Home, Qt::NoModifier, 0, 0},
        {Qt::Key_End, Qt::ControlModifier, right, bottom},
        {Qt::Key_Home, Qt::ControlModifier, 0, 0}};
    for (const auto &[key, modifiers, x, y] : keys) {
        QTest::keyClick(surface, key, modifiers);
        QVERIFY2(at(x, y), qPrintable(QStringLiteral("%1 -> %2, %3").arg(key).arg(h->value()).arg(v->value())));
    }

    // A disabled bar keeps its position and its surface stays at the edge.
    v->setValue(300);
    viewport.setZoom(0);
    viewport.applyPanelSize(4000, 10);
    QVERIFY(!v->isEnabled());
    QTest::keyClick(surface, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(h->value(), h->maximum());
    QCOMPARE(v->value(), 300);
    QCOMPARE(surface->pos(), QPoint(-h->maximum(), 0));
}

void TestRenderView::surfacePaintsVisiblePart()
{
    StationDocument doc;
    doc.tiles().append(TPolePanelu{3, 2, false, false, false, false, false, false, false, false,
                                   QStringLiteral("KOL_sSDSH")});
    ImageSet images;
    Viewport viewport;
    WorkArea area(doc, images, viewport);
    area.resize(400, 300);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    X_Plocha &surface = *area.surface();
    EditingView editing;
    editing.cursorColumn = 4;
    editing.cursorRow = 2;
    surface.setFrameSource([&] { return editing; });
    area.horizontalBar()->setValue(100);
    area.verticalBar()->setValue(50);

    // What P_Plocha shows is the composed rectangle of the surface.
    const QImage shown = area.clipPanel()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), area.clipPanel()->size());
    const QImage copy = surface.copyOut(QRect(QPoint(100, 50), shown.size()));
    QCOMPARE(shown, copy);
    QCOMPARE(shown.pixel(3 * 47 + 23 - 100, 2 * 47 + 10 - 50), qRgb(0, 0, 0));      // the tile
    QCOMPARE(shown.pixel(4 * 47 - 100, 120 - 50), qRgb(255, 0, 0));                // cursor frame
    QCOMPARE(shown.pixel(6 * 47 - 100, 200 - 50), qRgb(0, 0, 255));                // grid

    // The preview copy: surface pixels from (0, 0), however it is scrolled,
    // as wide as the surface is.
    const QImage preview = surface.copyOut(QRect(0, 0, 665, 417));
    QCOMPARE(preview.size(), QSize(665, 417));
    QCOMPARE(preview.pixel(3 * 47 + 23, 2 * 47 + 10), qRgb(0, 0, 0));
    viewport.applyPanelSize(10, 10);
    QCOMPARE(surface.copyOut(QRect(0, 0, 665, 417)).size(), QSize(470, 417));

    // A tick notes lag count and frame rate for the next frame.
    surface.X_VykreslovacTimer(6, 59);
    QCOMPARE(surface.renderState().lagCount, 6);
    QCOMPARE(surface.renderState().frameRate, 59);
}

void TestRenderView::pointerAndFocus()
{
    StationDocument doc;
    ImageSet images;
    Viewport viewport;
    X_Plocha surface(doc, images, viewport);
    QSignalSpy moves(&surface, &X_Plocha::mouseMoved);
    QSignalSpy presses(&surface, &X_Plocha::mousePressed);
    QSignalSpy releases(&surface, &X_Plocha::mouseReleased);
    QMouseEvent move(QEvent::MouseMove, QPointF(120, 75), QPointF(120, 75), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&surface, &move);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 6), QPointF(5, 6), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&surface, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-30, 9000), QPointF(-30, 9000), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&surface, &release);
    QCOMPARE(moves.count(), 1);
    QCOMPARE(moves.first(), (QList<QVariant>{120, 75}));
    QCOMPARE(presses.first().at(0).value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(presses.first().at(1).toInt(), 5);
    QCOMPARE(releases.first().at(1).toInt(), -30);
    QCOMPARE(releases.first().at(2).toInt(), 9000);

    // The focus flag starts set; leaving for another control clears it,
    // another window becoming active does not.
    QVERIFY(surface.renderState().focus);
    QFocusEvent away(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&surface, &away);
    QVERIFY(!surface.renderState().focus);
    QFocusEvent back(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&surface, &back);
    QVERIFY(surface.renderState().focus);
    QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&surface, &deactivated);
    QVERIFY(surface.renderState().focus);
}

namespace {

// What a tick changed, by the kind of repaint it allows.
enum class Change { None, Cursor, Other };

// One random change of what frames read, as the program's controls make
// them, mostly near the visible part of the panel.
Change randomChange(QRandomGenerator &random, StationDocument &doc, Viewport &viewport, X_Plocha &surface,
                    WorkArea &area, EditingView &editing, int &lag, int &rate)
{
    const auto cell = [&](int from, int to) { return qint32(random.bounded(from, to + 1)); };
    const auto kind = [&] { return QString::fromLatin1(allKinds()[random.bounded(int(allKinds().size()))].name); };
    // Lamps stand at offsets and may reach beyond their cell.
    const auto previewKind = [&] { return random.bounded(2) == 0 ? QStringLiteral("ZAR_CE_ZH") : kind(); };
    switch (random.bounded(16)) {
    case 0: case 1: case 2: case 3:
        return Change::None;
    case 4: case 5:
        lag = random.bounded(1, 4);
        rate = random.bounded(58, 62);
        return Change::Other;
    case 6: case 7: case 8: case 9:
        editing.cursorColumn = cell(-1, 14);
        editing.cursorRow = cell(-1, 10);
        return Change::Cursor;
    case 10:
        editing.currentKind = previewKind();
        editing.lampOffsetX = cell(0, 60);
        editing.lampOffsetY = cell(0, 60);
        editing.cornerChecks[random.bounded(4)] ^= true;
        return Change::Other;
    case 11: {
        const int what = random.bounded(6);
        if (what == 0 && !doc.tiles().isEmpty())
            doc.tiles().removeAt(random.bounded(int(doc.tiles().count())));
        else if (what == 1 && !doc.lamps().isEmpty())
            doc.lamps().replace(random.bounded(int(doc.lamps().count())),
                                TPoleZarovka{cell(0, 12), cell(0, 9), cell(0, 47), cell(0, 47), kind()});
        else if (what == 2)
            doc.plates().append(TPoleStitek{kind(), cell(0, 12), cell(0, 9)});
        else if (what == 3)
            doc.lamps().append(TPoleZarovka{cell(0, 12), cell(0, 9), cell(0, 47), cell(0, 47), kind()});
        else
            doc.tiles().append(TPolePanelu{cell(-1, 12), cell(0, 9), random.bounded(2) == 0, false, true, false,
                                           random.bounded(2) == 0, false, random.bounded(2) == 0, false, kind()});
        return Change::Other;
    }
    case 12: {
        ViewSwitches &s = surface.switches();
        std::array<bool *, 4> switches{&s.diagnostics, &s.preview, &s.cursorFrame, &s.grid};
        *switches[random.bounded(4)] ^= true;
        return Change::Other;
    }
    case 13:
        if (random.bounded(2) == 0)
            surface.renderState().focus ? surface.X_PlochaExit() : surface.X_PlochaEnter();
        else
            surface.renderState().previewOpacity = random.bounded(20, 256);
        return Change::Other;
    case 14:
        // The scrolled surface paints what it uncovers before the tick.
        editing.cursorColumn = cell(-1, 14);
        area.horizontalBar()->setValue(random.bounded(0, 200));
        area.verticalBar()->setValue(random.bounded(0, 150));
        QCoreApplication::processEvents();
        return Change::Other;
    default:
        viewport.setZoom(random.bounded(-20, 14));
        if (random.bounded(3) == 0)
            viewport.applyPanelSize(random.bounded(10, 30), random.bounded(10, 20));
        return Change::Other;
    }
}

}  // namespace

void TestRenderView::ticksRepaintOnlyChanges()
{
    StationDocument doc;
    ImageSet images;
    Viewport viewport;
    WorkArea area(doc, images, viewport);
    area.resize(420, 320);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    X_Plocha &surface = *area.surface();
    EditingView editing;
    surface.setFrameSource([&] { return editing; });

    // Every tick the screen must show what composing the whole visible
    // part afresh gives, and the preview copy the same frame.
    CanvasState canvas;
    ElementIndex index;
    QImage whole;
    int lag = 1;
    int rate = 0;
    const auto tick = [&] {
        surface.X_VykreslovacTimer(lag, rate);
        QCoreApplication::processEvents();
        RenderState state = surface.renderState();
        state.cellSize = viewport.cellSize();
        state.appliedColumns = viewport.appliedColumns();
        state.appliedRows = viewport.appliedRows();
        state.surfaceSize = viewport.surfaceSize();
        const QRect visible = surface.visibleRect();
        composeFrame(whole, visible, doc.data(), state, editing, images, canvas, index);
        const QPoint at = surface.mapTo(&area, visible.topLeft());
        const QImage screen = area.screen()
                                  ->grabWindow(area.winId(), at.x(), at.y(), visible.width(), visible.height())
                                  .toImage()
                                  .convertToFormat(QImage::Format_RGB32);
        return screen == whole && surface.copyOut(visible) == whole;
    };
    QVERIFY(tick());

    QRandomGenerator random(15);
    qint64 viewArea = 0;
    qint64 cursorWork = 0;
    for (int step = 0; step < 300; ++step) {
        const Change change = randomChange(random, doc, viewport, surface, area, editing, lag, rate);
        const qint64 before = surface.composedPixels();
        if (!tick())
            QFAIL(qPrintable(QStringLiteral("step %1 shows another frame than the whole one").arg(step)));
        const qint64 work = surface.composedPixels() - before;
        // At rest nothing is composed; a move of the pointer costs little.
        if (change == Change::None)
            QCOMPARE(work, 0);
        if (change == Change::Cursor) {
            cursorWork += work;
            viewArea += qint64(surface.visibleRect().width()) * surface.visibleRect().height();
        }
    }
    QVERIFY(viewArea > 0);
    QVERIFY2(cursorWork * 3 < viewArea, qPrintable(QStringLiteral("%1 of %2").arg(cursorWork).arg(viewArea)));
}

QTEST_MAIN(TestRenderView)
#include "test_render_view.moc"
