// Pixels of composed frames: layers, element geometry, culling.
#include "render/index/ElementIndex.h"
#include "render/FrameComposer.h"
#include "render/TileCache.h"
#include "render/ImageSet.h"
#include "render/PictureDrawing.h"
#include "render/SystemColours.h"
#include "support/RenderFixtures.h"
#include "support/TestRecords.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

using namespace kalmor;

namespace {

constexpr QRgb Grey = 0xFF808080;

// Only the fill and the elements.
RenderState bareState(int cell = 47)
{
    RenderState s;
    s.cellSize = cell;
    s.switches = ViewSwitches{false, false, false, false};
    return s;
}

// What a picture drawn opaque at the origin of the region looks like over
// the grey fill.
bool showsPicture(const QImage &frame, QPoint at, const QImage &picture, int opacity = 255)
{
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            QRgb want = Grey;
            if (qAlpha(p) != 0) {
                want = qRgb(blendChannel(qRed(p), 128, opacity), blendChannel(qGreen(p), 128, opacity),
                            blendChannel(qBlue(p), 128, opacity));
            }
            if (frame.pixel(at.x() + x, at.y() + y) != want) {
                qWarning() << "pixel" << at + QPoint(x, y) << Qt::hex << frame.pixel(at.x() + x, at.y() + y)
                           << "expected" << want;
                return false;
            }
        }
    }
    return true;
}

int countColour(const QImage &image, const QRect &area, QRgb colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

QRect boundsOfNonGrey(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != Grey)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

}  // namespace

class TestRenderFrame : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_images.count() == 88); }
    void imageSet();
    void coloursAndFill();
    void startUpFrame();
    void diagnosticBackground();
    void lampGeometry();
    void cornerPieces();
    void stacking();
    void switchesOff();
    void unknownNames();
    void partsEqualWhole();
    void selectionOutline();

private:
    void checkPartsEqualWhole(bool spread);
    ImageSet m_images;
};

void TestRenderFrame::imageSet()
{
    const QImage *straight = m_images.find(u"KOL_sLSPS");
    QVERIFY(straight);
    QCOMPARE(m_images.find(u"kol_slsps"), straight);
    QCOMPARE(m_images.find(u"RUZEK_PD"), m_images.find(u"Ruzek_PD"));
    QVERIFY(!m_images.find(u"KOL_sLSPX"));
    QCOMPARE(m_images.indexOf(u""), -1);
    QCOMPARE(ImageSet::notFoundMessage(u"KOL_x"), QStringLiteral("Image 'KOL_x' not found"));
    QCOMPARE(straight->size(), QSize(47, 47));
    QCOMPARE(m_images.designSize(m_images.indexOf(u"ZAR_ZE_ZH")), QSize(16, 15));

    // White is transparent, the track opaque black.
    QCOMPARE(straight->pixel(0, 0), QRgb(0));
    QCOMPARE(straight->pixel(0, 23), QRgb(0xFF000000));

    // Stretching: the same size is the picture; doubling repeats each pixel.
    QImage small(3, 2, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < 6; ++i)
        small.setPixel(i % 3, i / 3, 0xFF000000 | QRgb(i));
    QCOMPARE(ImageSet::stretch(small, QSize(3, 2)), small);
    const QImage twice = ImageSet::stretch(small, QSize(6, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            QCOMPARE(twice.pixel(x, y), small.pixel(x / 2, y / 2));
    const QImage &cached = m_images.scaled(m_images.indexOf(u"Ruzek_LH"), QSize(20, 20));
    QCOMPARE(cached, ImageSet::stretch(*m_images.find(u"Ruzek_LH"), QSize(20, 20)));
}

void TestRenderFrame::coloursAndFill()
{
    QCOMPARE(toQColor(clGray), QColor(128, 128, 128));
    QCOMPARE(toQColor(rgbColour(10, 20, 30)), QColor(10, 20, 30));
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Base, QColor(4, 5, 6));
    QCOMPARE(toQColor(SystemColourBase | 15, palette), QColor(1, 2, 3));  // clBtnFace
    QCOMPARE(toQColor(SystemColourBase | 5, palette), QColor(4, 5, 6));   // clWindow

    Composer c{m_images, {}, {}};
    RenderState state = bareState();
    state.fillColour = rgbColour(10, 20, 30);
    const QImage frame = c.compose(QRect(100, 100, 20, 10), StationData{}, state);
    QCOMPARE(countColour(frame, frame.rect(), qRgb(10, 20, 30)), 200);
}

void TestRenderFrame::startUpFrame()
{
    Composer c{m_images, {}, {}};
    const RenderState state;
    const StationData empty;
    const QRect surface(0, 0, 4800, 2400);
    const QImage frame = c.compose(surface, empty, state);
    RenderState noTexts = state;
    noTexts.switches.diagnostics = false;
    const QImage under = c.compose(surface, empty, noTexts);

    // Grid: every 47th pixel, 151 columns and 51 rows of lines, cut off by
    // the surface; the red frame lies on cell (0, 0)'s lines.
    QCOMPARE(under.pixel(47, 100), qRgb(0, 0, 255));
    QCOMPARE(under.pixel(100, 94), qRgb(0, 0, 255));
    QCOMPARE(under.pixel(4794, 2399), qRgb(0, 0, 255));
    QCOMPARE(under.pixel(4799, 100), Grey);
    QCOMPARE(under.pixel(100, 2350), qRgb(0, 0, 255));
    QCOMPARE(under.pixel(100, 2351), Grey);
    QCOMPARE(countColour(under, QRect(0, 100, 4800, 1), qRgb(0, 0, 255)), 103);
    QCOMPARE(countColour(under, QRect(100, 0, 1, 2400), qRgb(0, 0, 255)), 51);
    for (int i = 0; i <= 47; ++i) {
        QCOMPARE(under.pixel(i, 0), qRgb(255, 0, 0));
        QCOMPARE(under.pixel(i, 47), qRgb(255, 0, 0));
        QCOMPARE(under.pixel(0, i), qRgb(255, 0, 0));
        QCOMPARE(under.pixel(47, i), qRgb(255, 0, 0));
    }
    QCOMPARE(under.pixel(48, 0), qRgb(0, 0, 255));
    QCOMPARE(under.pixel(0, 48), qRgb(0, 0, 255));
    QCOMPARE(countColour(under, surface, qRgb(255, 0, 0)), 4 * 47);

    // The preview of KOL_sLSPS blended at 100/255 inside the cell.
    const QImage &straight = *m_images.find(u"KOL_sLSPS");
    QVERIFY(showsPicture(under.copy(1, 1, 46, 46), QPoint(0, 0), straight.copy(1, 1, 46, 46), 100));
    QCOMPARE(under.pixel(3, 23), qRgb(78, 78, 78));  // black: 155/255 of 128

    // The diagnostic lines, in maroon at the top-left over all of that.
    const auto lines = diagnosticLines(state, EditingView{}, empty);
    QCOMPARE(lines[0], QStringLiteral("RefreshStopCount: 1"));
    QCOMPARE(lines[1], QStringLiteral("RefreshTick/FrameRate: 0"));
    QCOMPARE(lines[2], QStringLiteral("ArrayLength_P : 0"));
    QCOMPARE(lines[3], QStringLiteral("ArrayLength_Z: 0"));
    QCOMPARE(lines[4], QStringLiteral("ArrayLength_S: 0"));
    QCOMPARE(lines[5], QStringLiteral("Position: X=0 Y=0"));
    const QRect texts(10, 10, 250, 75);
    QVERIFY(countColour(frame, texts, qRgb(128, 0, 0)) > 100);
    QImage outside = frame;
    for (int y = texts.top(); y <= texts.bottom(); ++y)
        for (int x = texts.left(); x <= texts.right(); ++x)
            outside.setPixel(x, y, under.pixel(x, y));
    QCOMPARE(outside, under);

    // With every switch off, nothing but the fill.
    RenderState quiet = state;
    quiet.switches = ViewSwitches{false, false, false, false};
    QCOMPARE(boundsOfNonGrey(c.compose(surface, empty, quiet)), QRect());
}

void TestRenderFrame::diagnosticBackground()
{
    // The texts stand on the white brush until a cursor frame has been
    // drawn, and on the panel for ever after, also when the frame is off.
    Composer c{m_images, {}, {}};
    RenderState state;
    state.switches.cursorFrame = false;
    const QRect area(0, 0, 300, 100);
    QImage frame = c.compose(area, StationData{}, state);
    QVERIFY(countColour(frame, QRect(10, 10, 100, 60), qRgb(255, 255, 255)) > 500);
    QVERIFY(countColour(frame, QRect(10, 10, 200, 70), qRgb(128, 0, 0)) > 100);
    QVERIFY(!c.canvas.brushHollow);

    state.switches.cursorFrame = true;
    state.focus = false;
    frame = c.compose(area, StationData{}, state);
    QVERIFY(countColour(frame, QRect(10, 10, 100, 60), qRgb(255, 255, 255)) > 500);

    state.focus = true;
    frame = c.compose(QRect(1000, 1000, 10, 10), StationData{}, state);  // frame elsewhere
    QVERIFY(c.canvas.brushHollow);
    state.switches.cursorFrame = false;
    frame = c.compose(area, StationData{}, state);
    QCOMPARE(countColour(frame, QRect(10, 10, 200, 70), qRgb(255, 255, 255)), 0);
    QVERIFY(countColour(frame, QRect(10, 10, 200, 70), qRgb(128, 0, 0)) > 100);
}

void TestRenderFrame::lampGeometry()
{
    StationData doc;
    doc.lamps.append(lamp(2, 1, 31, 32));
    const QImage &red = *m_images.find(u"ZAR_CE_ZH");
    for (const auto &[cell, at, size] : {std::tuple{47, QPoint(125, 79), QSize(16, 15)},
                                         std::tuple{87, QPoint(205, 119), QSize(30, 28)},
                                         std::tuple{27, QPoint(85, 59), QSize(9, 9)}}) {
        Composer c{m_images, {}, {}};
        const QImage frame = c.compose(QRect(0, 0, 400, 300), doc, bareState(cell));
        QVERIFY(QRect(at, size).contains(boundsOfNonGrey(frame)));
        QVERIFY(boundsOfNonGrey(frame).width() >= size.width() - 2);
        QVERIFY(showsPicture(frame, at, ImageSet::stretch(red, size)));
    }

    // A preview lamp stands at the offsets of the lamp spin edits, blended.
    Composer c{m_images, {}, {}};
    RenderState state = bareState();
    state.switches.preview = true;
    EditingView editing;
    editing.currentKind = QStringLiteral("ZAR_CE_ZH");
    editing.cursorColumn = 3;
    editing.cursorRow = 2;
    editing.lampOffsetX = 5;
    editing.lampOffsetY = 40;
    const QImage frame = c.compose(QRect(0, 0, 400, 300), StationData{}, state, editing);
    QVERIFY(showsPicture(frame, QPoint(146, 134), red, 100));
    QVERIFY(QRect(146, 134, 16, 15).contains(boundsOfNonGrey(frame)));

    // A lamp name in the tile list takes offsets and size from the lamp
    // record at its position: here a track name, so the lamp fills a cell.
    StationData borrowing;
    borrowing.lamps.append(lamp(0, 0, 5, 6, "KOL_sLSPS"));
    borrowing.tiles.append(tile(2, 2, "ZAR_CE_ZH"));
    const QImage borrowed = Composer{m_images, {}, {}}.compose(QRect(0, 0, 400, 300), borrowing, bareState());
    QVERIFY(showsPicture(borrowed, QPoint(99, 100), ImageSet::stretch(red, QSize(47, 47))));
    QVERIFY((QRect(0, 0, 47, 47) | QRect(99, 100, 47, 47)).contains(boundsOfNonGrey(borrowed)));
    // A lamp record whose picture is missing gives no size: nothing drawn.
    borrowing.lamps.replace(0, lamp(9, 9, 5, 6, "ZAR_NONE"));
    QCOMPARE(boundsOfNonGrey(Composer{m_images, {}, {}}.compose(QRect(0, 0, 400, 300), borrowing, bareState())),
             QRect());
}

void TestRenderFrame::cornerPieces()
{
    const QImage &ld = *m_images.find(u"Ruzek_LD");
    const QImage &pd = *m_images.find(u"Ruzek_PD");
    const QImage &lh = *m_images.find(u"Ruzek_LH");
    StationData doc;
    TPolePanelu t = tile(5, 5, "KOL_sLSPS");
    t.Cont_PD = true;
    t.Cont_LS = t.Cont_PS = t.Cont_SH = t.Cont_SD = true;  // never drawn
    doc.tiles.append(t);
    TPolePanelu edge = tile(0, 1, "Nothing");
    edge.Cont_LH = true;
    doc.tiles.append(edge);
    Composer c{m_images, {}, {}};
    const QImage frame = c.compose(QRect(0, 0, 400, 300), doc, bareState());
    QVERIFY(showsPicture(frame, QPoint(6 * 47, 5 * 47), ld));
    QVERIFY(showsPicture(frame, QPoint(0, 47), lh));
    // Apart from the tile, its PD corner and the LD partner, and the lone
    // LH corner of column 0, the frame is grey.
    QImage rest = frame;
    for (const QRect &r : {QRect(5 * 47, 5 * 47, 94, 47), QRect(0, 47, 47, 47)})
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                rest.setPixel(x, y, Grey);
    QCOMPARE(boundsOfNonGrey(rest), QRect());
    QCOMPARE(frame.pixel(5 * 47 + 46, 5 * 47 + 46), qRgb(0, 0, 0));  // PD corner
    QVERIFY(qAlpha(pd.pixel(46, 46)) != 0);
}

void TestRenderFrame::stacking()
{
    // Lamp under tile under plate; within a list, later records on top.
    StationData doc;
    doc.plates.append(plate(1, 1, "STI_Cely_Nahore"));
    doc.tiles.append(tile(1, 1, "KOL_sSDSH"));
    doc.lamps.append(lamp(1, 1, 16, 16, "ZAR_BI_ZH"));
    doc.tiles.append(tile(3, 1, "KOL_sLSPS"));
    doc.tiles.append(tile(3, 1, "KOL_sSDSH"));
    doc.tiles.append(tile(4, 1, "KOL_sSDSH"));
    doc.tiles.append(tile(4, 1, "KOL_sLSPS"));
    Composer c{m_images, {}, {}};
    const QImage frame = c.compose(QRect(0, 0, 400, 300), doc, bareState());
    const QImage &whiteLamp = *m_images.find(u"ZAR_BI_ZH");
    const QImage &plateTop = *m_images.find(u"STI_Cely_Nahore");
    QVERIFY(qAlpha(whiteLamp.pixel(1, 7)) != 0);
    QCOMPARE(frame.pixel(47 + 23, 47 + 20), qRgb(0, 0, 0));                     // tile over lamp
    QCOMPARE(frame.pixel(47 + 17, 47 + 23), whiteLamp.pixel(1, 7) | 0xFF000000);  // lamp beside the track
    QCOMPARE(frame.pixel(47 + 23, 47 + 5), plateTop.pixel(23, 5) | 0xFF000000);   // plate over tile
    QVERIFY(qRed(frame.pixel(47 + 23, 47 + 5)) > 200);
    const QRgb stripe = m_images.find(u"KOL_sLSPS")->pixel(23, 23) | 0xFF000000;
    QVERIFY(stripe != qRgb(0, 0, 0));
    QCOMPARE(frame.pixel(3 * 47 + 23, 47 + 23), qRgb(0, 0, 0));
    QCOMPARE(frame.pixel(4 * 47 + 23, 47 + 23), stripe);
}

void TestRenderFrame::switchesOff()
{
    // With every switch off: fill, elements and the corner previews of
    // checked boxes, with their partners, blended.
    StationData doc;
    doc.tiles.append(tile(0, 0, "KOL_sLSPS"));
    EditingView editing;
    editing.cursorColumn = 2;
    editing.cursorRow = 3;
    editing.cornerChecks = {false, false, true, false};  // PH
    Composer c{m_images, {}, {}};
    RenderState state = bareState();
    const QImage frame = c.compose(QRect(0, 0, 400, 300), doc, state, editing);
    QVERIFY(showsPicture(frame, QPoint(0, 0), *m_images.find(u"KOL_sLSPS")));
    QVERIFY(showsPicture(frame, QPoint(94, 141), *m_images.find(u"Ruzek_PH"), 100));
    QVERIFY(showsPicture(frame, QPoint(141, 141), *m_images.find(u"Ruzek_LH"), 100));
    QVERIFY((QRect(0, 0, 47, 47) | QRect(94, 141, 94, 47)).contains(boundsOfNonGrey(frame)));
    QCOMPARE(frame.pixel(94 + 46, 141), qRgb(78, 78, 78));
    QCOMPARE(countColour(frame, frame.rect(), qRgb(0, 0, 255)), 0);
    QCOMPARE(countColour(frame, frame.rect(), qRgb(255, 0, 0)), 0);
    QCOMPARE(countColour(frame, frame.rect(), qRgb(128, 0, 0)), 0);
}

void TestRenderFrame::unknownNames()
{
    // Names of no class, in the wrong case, or with a class but no picture
    // draw nothing; the elements after them still come.
    StationData doc;
    for (const char *name : {"kol_slsps", "XYZ_sLSPS", "", "KO", "KOL_sLSPX", "ZAR_XX", "Ruzek_XX", "ruzek_LH"})
        doc.tiles.append(tile(1, 1, name));
    doc.lamps.append(lamp(2, 2, 0, 0, "ZAR_NONE"));
    doc.plates.append(plate(3, 3, "STI_Cely"));
    doc.tiles.append(tile(4, 4, "KOL_sSDSH"));
    Composer c{m_images, {}, {}};
    const QImage frame = c.compose(QRect(0, 0, 400, 300), doc, bareState());
    const QRect drawn = boundsOfNonGrey(frame);
    QVERIFY(!drawn.isEmpty());
    QVERIFY(QRect(4 * 47, 4 * 47, 47, 47).contains(drawn));
}

void TestRenderFrame::partsEqualWhole()
{
    // Random elements, lamps at odd and far offsets, plate texts, a lamp
    // preview, grid, cursor frame and diagnostic texts: any rectangle
    // composed alone, or through tiles kept from earlier frames, equals
    // that rectangle of the whole surface. Once more with a few records far
    // away, so that the index keeps its buckets in a hash.
    checkPartsEqualWhole(false);
    checkPartsEqualWhole(true);
}

void TestRenderFrame::checkPartsEqualWhole(bool spread)
{
    QRandomGenerator random(4711);
    StationData doc;
    if (spread) {
        doc.tiles.append(tile(-100000000, 5, "KOL_sLSPS"));
        doc.lamps.append(lamp(2000000000, 7, 3, 3));
        doc.plates.append(plate(5, 1500000000, "STI_Cely_Dole"));
    }
    const std::vector<const char *> tiles{"KOL_sLSPS", "KOL_sLDPH", "VYH_sLSPS_sLDPS", "KRI_sLDPH_sLHPD",
                                          "HKO_sSDSH", "STI_Cely_Dole", "Ruzek_PH", "ZAR_OR_ZH"};
    for (int i = 0; i < 600; ++i) {
        TPolePanelu t = tile(random.bounded(-2, 34), random.bounded(-2, 24), tiles[random.bounded(int(tiles.size()))]);
        t.Cont_LH = random.bounded(4) == 0;
        t.Cont_LD = random.bounded(4) == 0;
        t.Cont_PH = random.bounded(4) == 0;
        t.Cont_PD = random.bounded(4) == 0;
        doc.tiles.append(t);
    }
    for (int i = 0; i < 200; ++i)
        doc.lamps.append(lamp(random.bounded(-2, 34), random.bounded(-2, 24), random.bounded(-60, 90),
                              random.bounded(-60, 90), i % 2 ? "ZAR_ZE_ZH" : "ZAR_CE_ZH"));
    doc.lamps.append(lamp(-20, -30, 1000 + 20 * 37 + 3, 1000 + 30 * 37 + 5));  // far offsets, lands at (1003, 1005)
    // Area frames and names lie over the kept tiles, across their edges.
    doc.areas.append(TOblast{5, 3, 9, 8, QStringLiteral("Ovládací pult")});
    doc.areas.append(TOblast{22, 13, 2, 1, QStringLiteral("Skříň")});
    for (int i = 0; i < 150; ++i) {
        TPoleStitek p = plate(random.bounded(0, 32), random.bounded(0, 22), "STI_Cely_Uprostred");
        if (i % 4 == 0)
            p.TEXT = QStringLiteral("Kč %1").arg(i);
        doc.plates.append(p);
    }

    RenderState state;
    state.cellSize = 37;
    state.appliedColumns = 30;
    state.appliedRows = 20;
    state.surfaceSize = QSize(1200, 1050);
    state.previewOpacity = 180;
    EditingView editing;
    editing.cursorColumn = 4;
    editing.cursorRow = 2;
    editing.currentKind = QStringLiteral("ZAR_BI_ZH");
    editing.lampOffsetX = 30;
    editing.lampOffsetY = 33;
    editing.cornerChecks = {true, false, false, true};
    editing.selection = CellRect{3, 2, 17, 11};

    Composer whole{m_images, {}, {}};
    const QRect surface(QPoint(0, 0), state.surfaceSize);
    QImage full = whole.compose(surface, doc, state, editing);
    QVERIFY(full.pixel(1003 + 8, 1005 + 7) != Grey);
    Composer parts{m_images, {}, {}};
    // The same rectangles through tiles kept from frame to frame.
    Composer viaKept{m_images, {}, {}};
    TileCache kept;
    FramePieces pieces;
    for (int i = 0; i < 40; ++i) {
        const QRect r(random.bounded(-50, 1200), random.bounded(-50, 1050), random.bounded(1, 400),
                      random.bounded(1, 300));
        QImage part(r.size(), QImage::Format_RGB32);
        part.fill(0xFF123456);
        composeFrame(part, r, doc, state, editing, m_images, parts.canvas, parts.index);
        const QRect inside = r & surface;
        QCOMPARE(part.copy(inside.translated(-r.topLeft())), full.copy(inside));
        if (!surface.contains(r.bottomRight()))
            QCOMPARE(part.pixel(r.width() - 1, r.height() - 1), 0xFF123456u);  // no surface there
        QImage viaTiles;
        composeFrame(viaTiles, r, doc, state, editing, m_images, viaKept.canvas, viaKept.index, kept);
        QCOMPARE(viaTiles.copy(inside.translated(-r.topLeft())), full.copy(inside));
        // The same frame as the pieces the window paints, tiles kept and
        // tiles drawn over by the frame-wide layers, each pixel once.
        composeFramePieces(pieces, r, doc, state, editing, m_images, viaKept.canvas, viaKept.index, kept);
        QImage painted(surface.size(), QImage::Format_RGB32);
        painted.fill(0xFF123456);
        {
            QPainter painter(&painted);
            pieces.paint(painter);
        }
        qint64 paintedPixels = 0;
        for (const FramePiece &piece : pieces.pieces()) {
            QVERIFY(inside.contains(QRect(piece.at, piece.source.size())));
            paintedPixels += qint64(piece.source.width()) * piece.source.height();
        }
        QCOMPARE(paintedPixels, qint64(inside.width()) * inside.height());
        if (!inside.isEmpty())
            QCOMPARE(painted.copy(inside), full.copy(inside));
        if (i == 10) {
            // The previews move: of the 5 x 5 kept tiles, only the one the
            // old previews reach and the two the new ones reach (across a
            // tile's edge) are composed again.
            QImage all;
            composeFrame(all, surface, doc, state, editing, m_images, viaKept.canvas, viaKept.index, kept);
            editing.cursorColumn = 20;
            full = whole.compose(surface, doc, state, editing);
            const quint64 before = kept.composedTiles();
            composeFrame(all, surface, doc, state, editing, m_images, viaKept.canvas, viaKept.index, kept);
            QCOMPARE(all, full);
            QCOMPARE(kept.composedTiles() - before, 3u);
        }
        if (i == 20) {
            // The index follows list changes.
            doc.tiles.append(tile(5, 5, "KOZ_sLS"));
            doc.tiles.replace(0, tile(6, 6, "KOL_sSDSH"));
            doc.lamps.removeAt(3);
            Composer again{m_images, {}, {}};
            const QImage changed = again.compose(surface, doc, state, editing);
            QImage viaParts;
            composeFrame(viaParts, QRect(150, 150, 200, 200), doc, state, editing, m_images, parts.canvas,
                         parts.index);
            QCOMPARE(viaParts, changed.copy(150, 150, 200, 200));
            // No tile composed before the edit is shown after it.
            QImage all;
            composeFrame(all, surface, doc, state, editing, m_images, viaKept.canvas, viaKept.index, kept);
            QCOMPARE(all, changed);
            // An edit of the desk elements alone forgets the kept tiles too.
            doc.deskElements.append(TPolePrvek{6, 6, QStringLiteral("TLA_VC"), QStringLiteral("1")});
            Composer withDesk{m_images, {}, {}};
            full = withDesk.compose(surface, doc, state, editing);
            composeFrame(all, surface, doc, state, editing, m_images, viaKept.canvas, viaKept.index, kept);
            QCOMPARE(all, full);
        }
    }
}

void TestRenderFrame::selectionOutline()
{
    // The outline of the selected cells at small, normal and large cells:
    // two pixels wide on and inside the cells' edge, in yellow and black
    // dashes following the surface coordinate, so that it shows on the grey
    // fill, on black track and in place of the blue grid; the cursor frame
    // stays above it, and nothing else of the frame changes.
    for (const int cell : {4, 47, 128}) {
        StationData doc;
        for (qint32 column = 0; column < 8; ++column)
            doc.tiles.append(tile(column, 2, "KOL_sLSPS"));  // track across the left and right edges
        RenderState state;
        state.cellSize = cell;
        state.surfaceSize = QSize(10 * cell, 6 * cell);
        state.switches.diagnostics = false;
        state.switches.preview = false;
        EditingView editing;
        editing.cursorColumn = 5;
        editing.cursorRow = 3;
        Composer c{m_images, {}, {}};
        const QRect surface(QPoint(0, 0), state.surfaceSize);
        const QImage plain = c.compose(surface, doc, state, editing);
        editing.selection = CellRect{2, 1, 5, 3};
        const QImage outlined = c.compose(surface, doc, state, editing);

        const int x0 = 2 * cell, y0 = cell, x1 = 6 * cell, y1 = 4 * cell;
        const auto onOutline = [&](int x, int y) {
            const bool across = x >= x0 && x <= x1 && y >= y0 && y <= y1;
            return across && (y <= y0 + 1 || y >= y1 - 1 || x <= x0 + 1 || x >= x1 - 1);
        };
        const auto onCursorFrame = [&](int x, int y) {
            return x >= 5 * cell && x <= 6 * cell && y >= 3 * cell && y <= 4 * cell
                && (x == 5 * cell || x == 6 * cell || y == 3 * cell || y == 4 * cell);
        };
        int yellow = 0;
        for (int y = 0; y < surface.height(); ++y) {
            for (int x = 0; x < surface.width(); ++x) {
                const QRgb p = outlined.pixel(x, y);
                if (onCursorFrame(x, y)) {
                    QCOMPARE(p, qRgb(255, 0, 0));
                } else if (onOutline(x, y)) {
                    const bool alongX = x > x0 + 1 && x < x1 - 1;  // the sides are drawn last
                    const int dash = ((alongX ? x : y) / SelectionDashLength) & 1;
                    QCOMPARE(p, SelectionDashColours[dash]);
                    const QRgb under = plain.pixel(x, y);
                    yellow += dash == 0 && under != Grey && under != qRgb(0, 0, 255);
                } else {
                    QCOMPARE(p, plain.pixel(x, y));
                }
            }
        }
        // Yellow over the track where it crosses the outline (at 4 pixels a
        // cell the scaled track keeps no pixel of its own), dashes in place
        // of the grid.
        QVERIFY(cell < 47 || yellow > 0);
        QCOMPARE(plain.pixel(x0, cell + cell / 2), qRgb(0, 0, 255));
    }
}

QTEST_MAIN(TestRenderFrame)
#include "test_render_frame.moc"
