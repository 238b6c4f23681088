// Pixels of composed frames: layers, element geometry, culling.
#include "render/index/ElementIndex.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"
#include "render/PictureDrawing.h"
#include "render/SystemColours.h"
#include "support/TestRecords.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QtTest>

using namespace kalmor;

namespace {

constexpr QRgb Grey = 0xFF808080;

TPoleZarovka lamp(qint32 x, qint32 y, qint32 dx, qint32 dy, const char *name = "ZAR_CE_ZH")
{
    return TPoleZarovka{x, y, dx, dy, QString::fromLatin1(name)};
}

TPoleStitek plate(qint32 x, qint32 y, const char *name)
{
    return TPoleStitek{QString::fromLatin1(name), x, y};
}

// Only the fill and the elements.
RenderState bareState(int cell = 47)
{
    RenderState s;
    s.cellSize = cell;
    s.switches = ViewSwitches{false, false, false, false};
    return s;
}

struct Composer {
    const ImageSet &images;
    CanvasState canvas;
    ElementIndex index;
    QImage compose(const QRect &rect, const StationData &doc, const RenderState &state,
                   const EditingView &editing = {})
    {
        QImage image;
        composeFrame(image, rect, doc, state, editing, images, canvas, index);
        return image;
    }
};

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
    void indexedEqualsEveryElement();
    void selectionOutline();
    void indexFollowsLoad();
    void indexFollowsEdits();
    void indexFollowsBulkEdits();
    void indexThinsStacksAfterEdits();
    void listChangeLog();

private:
    void checkPartsEqualWhole(bool spread);
    void checkAgainstPlainWalk(Composer &fast, const StationData &doc, const RenderState &state, const QRect &rect);
    void checkAgainstFreshIndex(Composer &kept, const StationData &doc, const RenderState &state,
                                const QRect &rect);
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
    // Random elements, lamps at odd and far offsets, a lamp preview, grid,
    // cursor frame and texts: any rectangle composed alone equals that
    // rectangle of the whole surface. Once more with a few records far
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
    for (int i = 0; i < 150; ++i)
        doc.plates.append(plate(random.bounded(0, 32), random.bounded(0, 22), "STI_Cely_Uprostred"));

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
            full = changed;
        }
    }
}

void TestRenderFrame::indexedEqualsEveryElement()
{
    // Random stations with stacks deep enough to be thinned out, odd and
    // far lamp offsets, borrowed lamps and unknown names, edited, shifted
    // and viewed at the smallest cells, with and without the grid: the
    // index's way gives the pixels of drawing every record in turn.
    QRandomGenerator random(31415);
    const std::vector<const char *> kinds{"KOL_sLSPS", "KOL_sLDPH", "VYH_sLSPS_sLDPS", "KRI_sLDPH_sLHPD", "OBO_sLSPD_sSHPD",
                                          "STI_Cely_Dole", "Ruzek_PH", "ZAR_OR_ZH", "kol_slsps", "KOL_x", ""};
    const auto anyTile = [&](qint32 x, qint32 y) {
        TPolePanelu t = tile(x, y, kinds[random.bounded(int(kinds.size()))]);
        t.Cont_LH = random.bounded(4) == 0;
        t.Cont_LD = random.bounded(4) == 0;
        t.Cont_PH = random.bounded(4) == 0;
        t.Cont_PD = random.bounded(4) == 0;
        return t;
    };
    const auto anyLamp = [&] {
        return lamp(random.bounded(-2, 40), random.bounded(-2, 30), random.bounded(-10, 48) * (random.bounded(30) ? 1 : 40),
                    random.bounded(-10, 48), random.bounded(3) ? "ZAR_ZE_ZH" : "KOL_sSDSH");
    };
    for (int station = 0; station < 3; ++station) {
        StationData doc;
        for (int i = 0; i < 1500; ++i)
            doc.tiles.append(anyTile(random.bounded(-2, 40), random.bounded(-2, 30)));
        for (int i = 0; i < 700; ++i)  // stacked on three cells of one bucket, one after another
            doc.tiles.append(anyTile(17 + i / 250, 18));
        for (int i = 0; i < 600; ++i)
            doc.lamps.append(i < 550 && station == 1 ? lamp(5, 5, random.bounded(3), 7, "ZAR_CE_ZH") : anyLamp());
        for (int i = 0; i < 300; ++i)
            doc.plates.append(plate(random.bounded(0, 40), random.bounded(0, 30),
                                    random.bounded(4) ? "STI_Cely_Nahore" : "ZAR_BI_ZH"));
        RenderState state;
        state.appliedColumns = 36;
        state.appliedRows = 26;
        state.surfaceSize = QSize(400, 300);
        Composer fast{m_images, {}, {}};
        for (int round = 0; round < 24; ++round) {
            state.cellSize = std::array{1, 2, 3, 4, 6, 8, 12}[std::size_t(round % 7)];
            state.switches.grid = random.bounded(2) == 0;
            const QRect rect(random.bounded(-20, 200), random.bounded(-20, 150), random.bounded(1, 400),
                             random.bounded(1, 300));
            checkAgainstPlainWalk(fast, doc, state, rect);
            for (int edit = random.bounded(40); edit > 0; --edit) {
                const int i = random.bounded(int(doc.tiles.count()));
                switch (random.bounded(5)) {
                case 0: doc.tiles.append(anyTile(17 + random.bounded(3), 18)); break;
                case 1: doc.tiles.replace(i, anyTile(doc.tiles.at(i).X, doc.tiles.at(i).Y)); break;
                case 2: doc.tiles.removeAt(i); break;
                case 3: doc.lamps.replace(random.bounded(int(doc.lamps.count())), anyLamp()); break;
                default: doc.tiles.shift(random.bounded(-1, 2), random.bounded(-1, 2)); break;
                }
            }
        }
        QCOMPARE(fast.index.rebuildCount(), quint64(3));
    }

    // Stacks drawn enlarged, and reduced but not ordered pixel by pixel.
    StationData stacks;
    for (int i = 0; i < 400; ++i)
        stacks.tiles.append(anyTile(1 + i / 100 % 2, 1 + i / 200));
    RenderState state;
    state.appliedColumns = 4;
    state.appliedRows = 4;
    Composer fast{m_images, {}, {}};
    for (const int cell : {12, 31, 87, 247}) {
        state.cellSize = cell;
        state.surfaceSize = QSize(4 * cell, 4 * cell);
        checkAgainstPlainWalk(fast, stacks, state, QRect(QPoint(0, 0), state.surfaceSize));
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

void TestRenderFrame::checkAgainstPlainWalk(Composer &fast, const StationData &doc, const RenderState &state,
                                            const QRect &rect)
{
    CanvasState plainCanvas = fast.canvas;
    QImage plain;
    composeFrameWalkingEveryElement(plain, rect, doc, state, EditingView{}, m_images, plainCanvas);
    const QImage indexed = fast.compose(rect, doc, state);
    const QRect inside = (rect & QRect(QPoint(0, 0), state.surfaceSize)).translated(-rect.topLeft());
    if (!inside.isEmpty())
        QCOMPARE(indexed.copy(inside), plain.copy(inside));
}

void TestRenderFrame::indexFollowsLoad()
{
    // A load moves another list into the document's: the index must not
    // keep the old one's buckets, even when both lists had one change.
    StationDocument document;
    document.tiles().append(tile(1, 1, "KOL_sSDSH"));
    Composer c{m_images, {}, {}};
    const QRect farRight(900, 0, 200, 100);
    QCOMPARE(boundsOfNonGrey(c.compose(farRight, document.data(), bareState())), QRect());
    StationData loaded;
    loaded.tiles.append(tile(20, 1, "KOL_sSDSH"));
    document.takeOver(std::move(loaded));
    QCOMPARE(boundsOfNonGrey(c.compose(farRight, document.data(), bareState())).x(), 20 * 47 + 19 - 900);
}

void TestRenderFrame::checkAgainstFreshIndex(Composer &kept, const StationData &doc, const RenderState &state,
                                             const QRect &rect)
{
    // Pixels outside the surface are not composed.
    const QRect inside = (rect & QRect(QPoint(0, 0), state.surfaceSize)).translated(-rect.topLeft());
    Composer fresh{m_images, {}, {}};
    // (QImage::copy of an empty rectangle would copy the whole image.)
    if (!inside.isEmpty())
        QCOMPARE(kept.compose(rect, doc, state).copy(inside), fresh.compose(rect, doc, state).copy(inside));

    // Every tile and plate whose cell meets the rectangle is offered, each
    // once, in list order.
    const qint64 c = state.cellSize;
    const auto meets = [&](qint32 x, qint32 y) {
        return x * c < rect.right() + 1 && x * c + c > rect.left() && y * c < rect.bottom() + 1
            && y * c + c > rect.top();
    };
    std::vector<qint32> near;
    kept.index.tilesNear(doc, rect, state.cellSize, near);
    QVERIFY(std::is_sorted(near.begin(), near.end()));
    QVERIFY(std::adjacent_find(near.begin(), near.end()) == near.end());
    QVERIFY(near.empty() || near.back() < doc.tiles.count());
    for (qint32 i = 0; i < doc.tiles.count(); ++i) {
        if (meets(doc.tiles.at(i).X, doc.tiles.at(i).Y))
            QVERIFY(std::binary_search(near.begin(), near.end(), i));
    }
    kept.index.platesNear(doc, rect, state.cellSize, near);
    QVERIFY(std::adjacent_find(near.begin(), near.end()) == near.end());
    for (qint32 i = 0; i < doc.plates.count(); ++i) {
        if (meets(doc.plates.at(i).X, doc.plates.at(i).Y))
            QVERIFY(std::binary_search(near.begin(), near.end(), i));
    }
}

void TestRenderFrame::indexFollowsEdits()
{
    // Appends, replacements to other cells, removals that move the last
    // record into the gap or close up the rest, and records stacked on one
    // cell are followed without a rebuild; the frames equal those of a freshly built index.
    // Shifts, a clear and long series of edits rebuild.
    QRandomGenerator random(1208);
    const std::vector<const char *> tileNames{"KOL_sLSPS", "KOL_sSDSH", "VYH_sLSPS_sLDPS", "Ruzek_PD",
                                              "STI_Cely_Dole", "ZAR_OR_ZH", "XYZ"};
    const std::vector<const char *> plateNames{"STI_Cely_Dole", "STI_Cely_Nahore", "KOL_sLDPH"};
    const std::vector<const char *> lampNames{"ZAR_CE_ZH", "ZAR_ZE_ZH", "KOL_sSDSH", "ZAR_NONE"};
    const auto anyTile = [&] {
        TPolePanelu t = tile(random.bounded(-1, 26), random.bounded(-1, 18),
                             tileNames[random.bounded(int(tileNames.size()))]);
        t.Cont_PH = random.bounded(3) == 0;
        t.Cont_LD = random.bounded(3) == 0;
        return t;
    };
    const auto anyLamp = [&] {
        const bool far = random.bounded(10) == 0;
        return lamp(random.bounded(-1, 26), random.bounded(-1, 18), random.bounded(-40, 60) * (far ? 20 : 1),
                    random.bounded(-40, 60), lampNames[random.bounded(int(lampNames.size()))]);
    };
    const auto anyPlate = [&] {
        return plate(random.bounded(0, 25), random.bounded(0, 17), plateNames[random.bounded(int(plateNames.size()))]);
    };

    StationData doc;
    for (int i = 0; i < 250; ++i)
        doc.tiles.append(anyTile());
    for (int i = 0; i < 60; ++i)
        doc.lamps.append(anyLamp());
    for (int i = 0; i < 40; ++i)
        doc.plates.append(anyPlate());
    RenderState state = bareState(31);
    state.surfaceSize = QSize(800, 700);  // rows 19 to 22 stay empty
    const QRect surface(QPoint(0, 0), state.surfaceSize);
    Composer kept{m_images, {}, {}};
    checkAgainstFreshIndex(kept, doc, state, surface);
    const quint64 built = kept.index.rebuildCount();
    QCOMPARE(built, quint64(3));

    const auto randomRect = [&] {
        return QRect(random.bounded(-40, 800), random.bounded(-40, 560), random.bounded(1, 300), random.bounded(1, 250));
    };
    const auto editOnce = [&] {
        const int op = random.bounded(10);
        if (op == 0) {
            // Another record on the cell of an existing one.
            const TPolePanelu &under = doc.tiles.at(random.bounded(int(doc.tiles.count())));
            TPolePanelu t = anyTile();
            t.X = under.X;
            t.Y = under.Y;
            doc.tiles.append(t);
        } else if (op == 1) {
            doc.tiles.append(anyTile());
        } else if (op == 2) {
            const int i = random.bounded(int(doc.tiles.count()));
            TPolePanelu t = anyTile();
            t.X = doc.tiles.at(i).X + 1 + random.bounded(5);
            doc.tiles.replace(i, t);
        } else if (op == 3 && doc.tiles.count() > 1) {
            // Mostly from the middle, so that the last record moves.
            const bool last = random.bounded(4) == 0;
            doc.tiles.removeAt(last ? doc.tiles.count() - 1 : random.bounded(int(doc.tiles.count() - 1)));
        } else if (op == 4) {
            doc.lamps.append(anyLamp());
        } else if (op == 5 && !doc.lamps.isEmpty()) {
            doc.lamps.replace(random.bounded(int(doc.lamps.count())), anyLamp());
        } else if (op == 6 && !doc.lamps.isEmpty()) {
            doc.lamps.removeAt(random.bounded(int(doc.lamps.count())));
        } else if (op == 9 && doc.tiles.count() > 8) {
            // One of the last few taken out with the rest closing up, and
            // now and then put back.
            const qint32 i = qint32(doc.tiles.count()) - 1 - random.bounded(8);
            const TPolePanelu taken = doc.tiles.at(i);
            doc.tiles.removeAll({i});
            if (random.bounded(2))
                doc.tiles.insertAll({i}, {taken});
        } else if (op == 7) {
            doc.plates.append(anyPlate());
        } else if (!doc.plates.isEmpty()) {
            doc.plates.removeAt(random.bounded(int(doc.plates.count())));
        }
    };

    for (int round = 0; round < 120; ++round) {
        for (int edits = random.bounded(1, 4); edits > 0; --edits)
            editOnce();
        checkAgainstFreshIndex(kept, doc, state, randomRect());
    }
    QCOMPARE(kept.index.rebuildCount(), built);

    // A tile moved to an empty row reaches the neighbour cells through
    // the partners of its corner pieces.
    TPolePanelu corners = tile(10, 20, "XYZ");
    corners.Cont_LD = corners.Cont_PH = true;
    doc.tiles.replace(doc.tiles.count() / 2, corners);
    checkAgainstFreshIndex(kept, doc, state, QRect(9 * 31, 20 * 31, 31, 31));
    checkAgainstFreshIndex(kept, doc, state, QRect(11 * 31, 20 * 31, 31, 31));
    const QRect row = boundsOfNonGrey(kept.compose(QRect(0, 20 * 31, 800, 31), doc, state));
    QVERIFY(row.left() >= 9 * 31 && row.left() < 10 * 31);
    QVERIFY(row.right() >= 11 * 31 && row.right() < 12 * 31);
    QCOMPARE(kept.index.rebuildCount(), built);

    // A shift moves every record and the shift back undoes it: both are
    // followed by their offset, edits before and after them too.
    doc.tiles.shift(3, -2);
    checkAgainstFreshIndex(kept, doc, state, surface);
    doc.tiles.append(tile(0, 0, "KOL_sLSPS"));
    doc.tiles.removeAt(0);
    doc.tiles.shift(-3, 2);
    checkAgainstFreshIndex(kept, doc, state, randomRect());
    QCOMPARE(kept.index.rebuildCount(), built);

    // Thousands of edits, in one go or spread over frames, are followed
    // one by one; more than the list's log holds between two frames end
    // in a rebuild, and so does a clear.
    for (int round = 0; round < 5; ++round) {
        for (int i = 0; i < 900; ++i)
            editOnce();
        checkAgainstFreshIndex(kept, doc, state, randomRect());
    }
    QCOMPARE(kept.index.rebuildCount(), built);
    // (Seven apart, as positions counting up by one share one entry.)
    for (std::size_t i = 0; i <= ListRevision::LogLimit; ++i)
        doc.tiles.replace(qsizetype(i * 7 % std::size_t(doc.tiles.count())), anyTile());
    checkAgainstFreshIndex(kept, doc, state, surface);
    QVERIFY(kept.index.rebuildCount() > built);
    doc.lamps.clear();
    doc.lamps.append(lamp(3, 3, 10, 10));
    checkAgainstFreshIndex(kept, doc, state, surface);
}

void TestRenderFrame::indexFollowsBulkEdits()
{
    // Selections taken out with the rest closing up, their undo, pastes
    // and single edits, several between two frames, on lists long enough
    // that the index renumbers its positions instead of reading each one
    // that moved: the frames equal those of a freshly built index, and
    // nothing is rebuilt.
    QRandomGenerator random(1408);
    const std::vector<const char *> tileNames{"KOL_sLSPS", "KOL_sSDSH", "VYH_sLSPS_sLDPS", "Ruzek_PD", "ZAR_OR_ZH",
                                              "XYZ"};
    const auto anyTile = [&] {
        TPolePanelu t = tile(random.bounded(-1, 26), random.bounded(-1, 22),
                             tileNames[random.bounded(int(tileNames.size()))]);
        t.Cont_PH = random.bounded(3) == 0;
        return t;
    };
    const auto anyLamp = [&] {
        const int far = random.bounded(10) == 0 ? 20 : 1;
        return lamp(random.bounded(0, 26), random.bounded(0, 22), random.bounded(-40, 60) * far,
                    random.bounded(-40, 60), random.bounded(2) ? "ZAR_CE_ZH" : "KOL_sSDSH");
    };
    StationData doc;
    for (int i = 0; i < 70000; ++i)
        doc.tiles.append(anyTile());
    for (int i = 0; i < 6000; ++i)
        doc.lamps.append(anyLamp());
    RenderState state = bareState(31);
    state.surfaceSize = QSize(800, 700);
    Composer kept{m_images, {}, {}};
    checkAgainstFreshIndex(kept, doc, state, QRect(QPoint(0, 0), state.surfaceSize));
    const quint64 built = kept.index.rebuildCount();

    // Mostly far from the end, at times right after single removals that
    // left records past the end; undone last taken first, when it still
    // fits.
    const auto takeOut = [&](auto &list, auto &undo) {
        for (int i = random.bounded(-2, 3); i > 0; --i)
            list.removeAt(random.bounded(qint32(list.count())));
        std::vector<qint32> positions;
        std::vector<std::decay_t<decltype(list.at(0))>> records;
        const int gap = random.bounded(2, 60);
        for (qint32 i = random.bounded(qint32(list.count())); i < list.count(); i += 1 + random.bounded(gap)) {
            positions.push_back(i);
            records.push_back(list.at(i));
        }
        list.removeAll(positions);
        undo.emplace_back(std::move(positions), std::move(records));
    };
    const auto putBack = [](auto &list, auto &undo) {
        if (!undo.empty() && undo.back().first.back() < list.count() + qsizetype(undo.back().first.size()))
            list.insertAll(undo.back().first, std::move(undo.back().second));
        if (!undo.empty())
            undo.pop_back();
    };
    std::vector<std::pair<std::vector<qint32>, std::vector<TPolePanelu>>> tileUndo;
    std::vector<std::pair<std::vector<qint32>, std::vector<TPoleZarovka>>> lampUndo;
    for (int round = 0; round < 40; ++round) {
        // One change of many positions per frame at most, as the log
        // holds the positions of a long tail only once.
        bool many = false;
        for (int edits = random.bounded(1, 4); edits > 0; --edits) {
            const int op = random.bounded(7);
            if (op <= 1 && std::exchange(many, true))
                continue;
            if (op == 0) {
                takeOut(doc.tiles, tileUndo);
            } else if (op == 1) {
                putBack(doc.tiles, tileUndo);
            } else if (op == 2) {
                // At times more than one group of the index holds.
                for (int i = random.bounded(4) ? 5000 : 40000; i > 0; --i)
                    doc.tiles.append(anyTile());
            } else if (op == 3) {
                for (int i = 0; i < 50; ++i)
                    doc.tiles.removeAt(random.bounded(qint32(doc.tiles.count())));
                for (int i = 0; i < 20; ++i)
                    doc.tiles.replace(random.bounded(qint32(doc.tiles.count())), anyTile());
            } else if (op == 4) {
                takeOut(doc.lamps, lampUndo);
            } else if (op == 5) {
                putBack(doc.lamps, lampUndo);
            } else {
                for (int i = 0; i < 100; ++i)
                    doc.lamps.append(anyLamp());
                doc.lamps.removeAt(random.bounded(qint32(doc.lamps.count())));
            }
        }
        // At times followed as an editing command has it followed.
        if (random.bounded(2)) {
            kept.index.followNow(doc);
            QVERIFY(kept.index.followed(doc));
        }
        const QRect rect(random.bounded(-40, 800), random.bounded(-40, 680), random.bounded(1, 400),
                         random.bounded(1, 300));
        checkAgainstFreshIndex(kept, doc, state, rect);
    }
    QCOMPARE(kept.index.rebuildCount(), built);
}

void TestRenderFrame::indexThinsStacksAfterEdits()
{
    // Records stacked deep enough to be thinned out, built and pasted,
    // under removals that move the last record into a gap, replacements,
    // order-keeping removals and their undo: the frames equal drawing
    // every record in turn, and nothing is rebuilt.
    RenderState state = bareState(47);
    state.appliedColumns = 40;
    state.appliedRows = 30;
    state.surfaceSize = QSize(40 * 47, 30 * 47);
    {
        // The last record of a thinned stack moves into a gap: the one
        // below it that it covered must show again, above the others.
        StationData doc;
        for (int i = 0; i < 600; ++i)
            doc.tiles.append(tile(1, 1, i % 2 && i != 599 ? "STI_Cely_Dole" : "KOL_sSDSH"));
        Composer fast{m_images, {}, {}};
        checkAgainstPlainWalk(fast, doc, state, QRect(0, 0, 150, 150));
        doc.tiles.removeAt(10);
        checkAgainstPlainWalk(fast, doc, state, QRect(0, 0, 150, 150));
    }

    QRandomGenerator random(2718);
    const std::vector<const char *> kinds{"KOL_sLSPS", "KOL_sSDSH", "VYH_sLSPS_sLDPS", "STI_Cely_Dole", "Ruzek_PH"};
    const auto anyTile = [&](qint32 x, qint32 y) {
        TPolePanelu t = tile(x, y, kinds[random.bounded(int(kinds.size()))]);
        t.Cont_PH = random.bounded(4) == 0;
        return t;
    };
    const auto onStack = [&] { return anyTile(2 + random.bounded(3), 2 + random.bounded(2)); };
    StationData doc;
    for (int i = 0; i < 1500; ++i)
        doc.tiles.append(onStack());
    for (int i = 0; i < 1500; ++i)
        doc.tiles.append(anyTile(random.bounded(40), random.bounded(30)));
    Composer fast{m_images, {}, {}};
    checkAgainstPlainWalk(fast, doc, state, QRect(0, 0, 100, 100));
    const quint64 built = fast.index.rebuildCount();
    std::vector<qint32> taken;
    std::vector<TPolePanelu> takenRecords;
    for (int round = 0; round < 30; ++round) {
        const int op = random.bounded(5);
        if (op == 0) {
            for (int i = 0; i < 2500; ++i)
                doc.tiles.append(onStack());
        } else if (op == 1) {
            for (int i = 0; i < 1000 && doc.tiles.count() > 3000; ++i)
                doc.tiles.removeAt(doc.tiles.count() - 1);
        } else if (op == 2) {
            for (int i = 0; i < 50; ++i)
                doc.tiles.removeAt(random.bounded(qint32(doc.tiles.count())));
            for (int i = 0; i < 50; ++i)
                doc.tiles.replace(random.bounded(qint32(doc.tiles.count())), onStack());
        } else if (taken.empty()) {
            for (qint32 i = random.bounded(100); i < doc.tiles.count(); i += 1 + random.bounded(9)) {
                taken.push_back(i);
                takenRecords.push_back(doc.tiles.at(i));
            }
            doc.tiles.removeAll(taken);
        } else {
            // The undo, when the list has not got too short since.
            if (taken.back() < doc.tiles.count() + qsizetype(taken.size()))
                doc.tiles.insertAll(taken, std::move(takenRecords));
            taken.clear();
            takenRecords.clear();
        }
        state.cellSize = std::array{1, 2, 4, 8, 47}[std::size_t(random.bounded(5))];
        checkAgainstPlainWalk(fast, doc, state, QRect(random.bounded(-10, 60), random.bounded(-10, 60),
                                                      random.bounded(1, 300), random.bounded(1, 300)));
    }
    QCOMPARE(fast.index.rebuildCount(), built);
}

void TestRenderFrame::listChangeLog()
{
    // What the index reads from a list: the positions single edits touched
    // since a revision, and nothing after a change of the whole list.
    ElementList<TPolePanelu> list;
    const quint64 start = list.revision();
    list.append(tile(1, 1, "A"));
    list.append(tile(2, 2, "B"));
    list.append(tile(3, 3, "C"));
    const quint64 three = list.revision();
    list.replace(1, tile(5, 5, "D"));
    list.removeAt(0);  // C moves to 0
    std::vector<qint32> changed;
    QVERIFY(list.positionsChangedSince(start, changed));
    QCOMPARE(changed, (std::vector<qint32>{0, 1, 2, 1, 0}));
    changed.clear();
    QVERIFY(list.positionsChangedSince(three, changed));
    QCOMPARE(changed, (std::vector<qint32>{1, 0}));
    changed.clear();
    QVERIFY(list.positionsChangedSince(list.revision(), changed));
    QVERIFY(changed.empty());

    list.shift(1, 0);
    QVERIFY(!list.positionsChangedSince(three, changed));
    const quint64 shifted = list.revision();
    list.append(tile(0, 0, "E"));
    QVERIFY(list.positionsChangedSince(shifted, changed));
    QCOMPARE(changed, (std::vector<qint32>{2}));
    changed.clear();

    ElementList<TPolePanelu> other;
    other.append(tile(9, 9, "F"));
    other = list;  // a load: the revision moves on, the log is gone
    QVERIFY(other.revision() > list.revision());
    QVERIFY(!other.positionsChangedSince(shifted, changed));
    QVERIFY(!other.positionsChangedSince(list.revision(), changed));

    const quint64 beforeMany = list.revision();
    for (std::size_t i = 0; i <= ListRevision::LogLimit; ++i)
        list.replace(0, tile(qint32(i), 0, "G"));
    QVERIFY(!list.positionsChangedSince(beforeMany, changed));
    QVERIFY(list.positionsChangedSince(list.revision() - 1, changed));
    QCOMPARE(changed, (std::vector<qint32>{0}));
    // Taking records out or putting them back changes every position from
    // the first one on: a short tail is logged, one past the end when the
    // tail is gone; a long one is not.
    const quint64 beforeTail = list.revision();  // G, D, E
    list.removeAll({1});                          // G, E
    list.insertAll({1}, {tile(3, 0, "J")});       // G, J, E
    list.removeAll({2});                          // G, J
    changed.clear();
    QVERIFY(list.positionsChangedSince(beforeTail, changed));
    QCOMPARE(changed, (std::vector<qint32>{1, 1, 2, 2}));
    QCOMPARE(names(list), QStringList({"G", "J"}));
    for (int i = 0; i < int(ListRevision::LogLimit) + 2; ++i)
        list.append(tile(i, 1, "K"));
    const quint64 beforeLong = list.revision();
    list.removeAll({0});
    QVERIFY(!list.positionsChangedSince(beforeLong, changed));
    list.clear();
    QVERIFY(!list.positionsChangedSince(list.revision() - 1, changed));

    // Runs of neighbouring positions share one entry of the log: what it
    // tells from any revision on equals a plain log of every change.
    QRandomGenerator random(99);
    ElementList<TPolePanelu> runs;
    std::vector<qint32> plainLog;  // the position of each change, -1 for a shift
    for (int i = 0; i < 3000; ++i) {
        const int op = random.bounded(5);
        if (op <= 1 || runs.isEmpty()) {
            for (int n = random.bounded(1, 40); n > 0; --n) {
                runs.append(tile(i, 0, "A"));
                plainLog.push_back(qint32(runs.count() - 1));
            }
        } else if (op == 2) {
            for (int n = random.bounded(1, 20); n > 0 && !runs.isEmpty(); --n) {
                plainLog.push_back(qint32(runs.count() - 1));
                runs.removeAt(runs.count() - 1);
            }
        } else if (op == 3) {
            const qint32 at = random.bounded(qint32(runs.count()));
            runs.replace(at, tile(0, 0, "B"));
            plainLog.push_back(at);
        } else {
            runs.shift(1, 0);
            plainLog.push_back(-1);
        }
    }
    QCOMPARE(runs.revision(), quint64(plainLog.size()));
    for (int k = 0; k < 200; ++k) {
        const std::size_t since = random.bounded(quint32(plainLog.size() + 1));
        std::vector<qint32> expected;
        bool shifted = false;
        for (auto it = plainLog.cbegin() + std::ptrdiff_t(since); it != plainLog.cend(); ++it) {
            shifted |= *it < 0;
            if (*it >= 0)
                expected.push_back(*it);
        }
        changed.clear();
        QVERIFY(runs.positionsTouchedSince(since, changed));
        QCOMPARE(changed, expected);
        changed.clear();
        QCOMPARE(runs.positionsChangedSince(since, changed), !shifted);
    }
    // A paste longer than the log is one entry: a reader that follows
    // runs is told it, a reader of positions alone only up to the limit.
    const quint64 beforePaste = runs.revision();
    for (std::size_t i = 0; i < 2 * ListRevision::LogLimit; ++i)
        runs.append(tile(0, 0, "C"));
    changed.clear();
    std::vector<ListRevision::RenumberedAt> renumbered;
    QVERIFY(runs.changesSince(beforePaste, changed, renumbered));
    QCOMPARE(changed.size(), 2 * ListRevision::LogLimit);
    QCOMPARE(changed.back(), qint32(runs.count() - 1));
    QVERIFY(!runs.positionsTouchedSince(beforePaste, changed));
}

QTEST_MAIN(TestRenderFrame)
#include "test_render_frame.moc"
