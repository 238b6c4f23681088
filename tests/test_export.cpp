// Pictures of the panel in files and on paper: the same pixels as the
// window's frame composition, bounded PNG size, valid SVG and PDF, pages.
#include "catalogue/ElementKinds.h"
#include "render/index/ElementIndex.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"
#include "render/PanelPrint.h"
#include "render/PictureFiles.h"
#include "support/TestRecords.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

using namespace kalmor;

namespace {

// A random station: tiles of every kind with corner flags, lamps that may
// reach into neighbouring cells, plates, and records stacked on one cell.
StationData randomStation(QRandomGenerator &random, qint32 columns, qint32 rows)
{
    QStringList tiles, lamps, plates;
    for (const KindInfo &k : allKinds()) {
        const QString name = QString::fromLatin1(k.name);
        switch (elementClassOf(name)) {
        case ElementClass::TrackTile: tiles << name; break;
        case ElementClass::Lamp: lamps << name; break;
        case ElementClass::LabelPlate: plates << name; break;
        case ElementClass::None:
        case ElementClass::DeskElement: break;
        }
    }
    StationData doc;
    doc.columns = columns;
    doc.rows = rows;
    doc.backgroundColour = rgbColour(random.bounded(256), random.bounded(256), random.bounded(256));
    const int count = random.bounded(5, 40);
    for (int i = 0; i < count; ++i) {
        TPolePanelu t = tile(random.bounded(columns), random.bounded(rows), tiles.at(random.bounded(tiles.size())));
        t.Cont_LH = random.bounded(4) == 0;
        t.Cont_PD = random.bounded(4) == 0;
        doc.tiles.append(std::move(t));
        doc.lamps.append(TPoleZarovka{qint32(random.bounded(columns)), qint32(random.bounded(rows)),
                                      qint32(random.bounded(60)), qint32(random.bounded(60)),
                                      lamps.at(random.bounded(lamps.size()))});
        if (i % 3 == 0)
            doc.plates.append(TPoleStitek{plates.at(random.bounded(plates.size())), qint32(random.bounded(columns)),
                                          qint32(random.bounded(rows))});
    }
    return doc;
}

// The window's frame of the whole applied panel with every view overlay
// off: what a picture must show.
QImage windowFrame(const StationData &doc, const ImageSet &images, int cell, bool grid)
{
    RenderState state;
    state.cellSize = cell;
    state.appliedColumns = doc.columns;
    state.appliedRows = doc.rows;
    state.surfaceSize = QSize(doc.columns * cell, doc.rows * cell);
    state.fillColour = doc.backgroundColour;
    state.switches = ViewSwitches{false, false, false, grid};
    const EditingView editing;
    CanvasState canvas;
    ElementIndex index;
    QImage frame;
    composeFrame(frame, QRect(QPoint(0, 0), state.surfaceSize), doc, state, editing, images, canvas, index);
    return frame;
}

QImage svgPixels(const QString &path, QSize size)
{
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

int pdfPages(const QByteArray &pdf)
{
    return int(pdf.count("/Type /Page\n")) + int(pdf.count("/Type /Page ")) + int(pdf.count("/Type /Page>"))
        + int(pdf.count("/Type /Page/"));
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestExport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(m_images.count(), 88); }
    void picturesShowTheComposedFrame();
    void svgDefinesEachLookOnce();
    void refusalsAndFailures();
    void printedPages();

private:
    ImageSet m_images;
    QTemporaryDir m_dir;
};

// Property: for random stations, cell sizes and regions, the PNG holds
// exactly the window's frame without overlays, and the SVG, drawn again
// by Qt, the same pixels.
void TestExport::picturesShowTheComposedFrame()
{
    QRandomGenerator random(12);
    for (int round = 0; round < 12; ++round) {
        const StationData doc = randomStation(random, random.bounded(10, 16), random.bounded(10, 13));
        const int cell = round == 0 ? 1 : random.bounded(2, 60);
        const bool grid = round % 2 == 0;
        const QImage frame = windowFrame(doc, m_images, cell, grid);
        QRect cells(0, 0, doc.columns, doc.rows);
        if (round % 3 == 1)
            cells = QRect(random.bounded(3), random.bounded(3), random.bounded(2, 7), random.bounded(2, 7));
        const QImage wanted = frame.copy(QRect(cells.topLeft() * cell, cells.size() * cell));
        const PictureOptions options{cell, cells, grid, doc.backgroundColour};

        for (const PictureFormat format : {PictureFormat::Png, PictureFormat::Svg}) {
            const QString path = m_dir.filePath(format == PictureFormat::Png ? "p.png" : "p.svg");
            PanelComposer composer(doc, m_images, options);
            qint64 reported = 0;
            QVERIFY(writePicture(path, format, composer, QStringLiteral("Zkouška <&>"),
                                 [&reported](qint64 done, qint64) { reported = done; })
                        .ok());
            QVERIFY(reported > 0);
            const QImage read = format == PictureFormat::Png ? QImage(path).convertToFormat(QImage::Format_RGB32)
                                                             : svgPixels(path, wanted.size());
            QVERIFY2(read == wanted, qPrintable(QStringLiteral("round %1, cell %2, %3").arg(round).arg(cell).arg(path)));
        }
    }
}

void TestExport::svgDefinesEachLookOnce()
{
    // 2000 tiles of two kinds in a row: two looks defined, 2000 placed.
    StationData doc;
    doc.columns = 2000;
    doc.rows = 10;
    for (int x = 0; x < 2000; ++x)
        doc.tiles.append(tile(x, 4, x % 2 ? QStringLiteral("KOL_sLSPS") : QStringLiteral("HKO_sLSPS")));
    // Plate texts and desk designations are text elements, not pixels of
    // the cells they cross.
    doc.plates.append({QStringLiteral("STI_Cely_Dole"), 3, 4, QStringLiteral("Stanice Dolní <Lhota>")});
    doc.deskElements.append({7, 2, QStringLiteral("TLA_VC"), QStringLiteral("S1")});
    PanelComposer composer(doc, m_images, wholePanel(doc.columns, doc.rows, 47, true, clGray));
    const QString path = m_dir.filePath("row.svg");
    QVERIFY(writePicture(path, PictureFormat::Svg, composer).ok());
    const QByteArray svg = fileBytes(path);
    QCOMPARE(svg.count("<image "), 4);
    QCOMPARE(svg.count("<use xlink:href=\"#b"), 2001);
    QCOMPARE(svg.count("<use xlink:href=\"#t0\"/>"), 1);
    QVERIFY(svg.contains(QStringLiteral("<text id=\"t1\" x=\"352\" y=\"%1\" xml:space=\"preserve\">S1</text>")
                             .arg(2 * 47 + textBaseline(QStringLiteral("TLA_VC"), m_images.texts().look(47)))
                             .toUtf8()));
    QVERIFY(svg.contains(QStringLiteral("<text id=\"t0\" x=\"164\" y=\"%1\" xml:space=\"preserve\">Stanice Dolní &lt;Lhota&gt;</text>")
                             .arg(4 * 47 + textBaseline(QStringLiteral("STI_Cely_Dole"), m_images.texts().look(47)))
                             .toUtf8()));
    QVERIFY(QSvgRenderer(path).isValid());

    // The PDF refers to each look too: far smaller than 2000 pictures.
    const QString pdfPath = m_dir.filePath("row.pdf");
    QVERIFY(writePicture(pdfPath, PictureFormat::Pdf, composer, QStringLiteral("Řada")).ok());
    const QByteArray pdf = fileBytes(pdfPath);
    QVERIFY(pdf.startsWith("%PDF-"));
    QCOMPARE(pdfPages(pdf), 1);
    QVERIFY2(pdf.count("/Subtype /Image") <= 4, qPrintable(QString::number(pdf.count("/Subtype /Image"))));
}

void TestExport::refusalsAndFailures()
{
    StationData doc;
    doc.columns = doc.rows = 4000;
    doc.tiles.append(tile(1, 1, QStringLiteral("KOL_sLSPS")));
    const QString png = m_dir.filePath("big.png");
    {
        // 4000 x 4000 cells of 6 pixels are 576 million pixels: refused
        // before anything is composed or created; 5 pixels (400 million) pass
        // the check.
        PanelComposer composer(doc, m_images, wholePanel(4000, 4000, 6, false, clGray));
        QCOMPARE(writePicture(png, PictureFormat::Png, composer).outcome, PictureResult::Outcome::TooLarge);
        QVERIFY(!QFile::exists(png));
        QCOMPARE(PanelComposer(doc, m_images, wholePanel(4000, 4000, 5, false, clGray)).pixelCount(), MaxPngPixels);
    }
    PanelComposer small(doc, m_images, PictureOptions{10, QRect(0, 0, 5, 5), false, clGray});
    QCOMPARE(writePicture(m_dir.path(), PictureFormat::Svg, small).fileError, QStringLiteral("File access denied"));
    const PictureResult missing = writePicture(m_dir.filePath("no/such/dir/p.png"), PictureFormat::Png, small);
    QCOMPARE(missing.outcome, PictureResult::Outcome::FileError);
    QCOMPARE(missing.fileError, QStringLiteral("File not found"));
    QCOMPARE(pictureFormatOf(QStringLiteral("a.PnG")), std::optional(PictureFormat::Png));
    QCOMPARE(pictureFormatOf(QStringLiteral("a.svg.txt")), std::nullopt);
}

void TestExport::printedPages()
{
    StationData doc;
    doc.columns = 150;
    doc.rows = 50;
    doc.stationName = QStringLiteral("Horní Lhota");
    doc.tiles.append(tile(3, 3, QStringLiteral("KOL_sLSPS")));
    const PictureOptions picture = wholePanel(150, 50, 47, true, clGray);
    struct Case {
        PrintOptions options;
        int pages;
    };
    // 7050 x 2350 screen pixels are 74 x 24.5 inches: at 100 % on A4
    // landscape (11.1 x 7.6 inches inside the margins, less the header)
    // that is 7 x 4 pages; at 10 % one; fitted one.
    for (const Case &c : {Case{{true, 100}, 1}, Case{{false, 100}, 28}, Case{{false, 10}, 1}}) {
        const QString path = m_dir.filePath("print.pdf");
        QPdfWriter pdf(path);
        pdf.setResolution(150);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        QVERIFY(printPanel(pdf, doc, m_images, picture, c.options));
        QCOMPARE(pdfPages(fileBytes(path)), c.pages);
    }
    QCOMPARE(pageNumberText(2, 28), QStringLiteral("strana 2 / 28"));
    QVERIFY(printHeader(doc).contains(QStringLiteral("Horní Lhota")));
    // Fitting scales to the narrower side; a scale exactly filling the
    // width does not start a page for rounding.
    const PrintLayout fit = printLayout(1000, 100, QSizeF(500, 500), 96, {true, 100});
    QCOMPARE(fit.scale, 0.5);
    QCOMPARE(printLayout(1000, 100, QSizeF(500, 500), 96, {false, 50}).across, 1);

    // Real size: one cell 40 mm whatever its pixels, a 10 x 5 cell area
    // (400 x 200 mm) on 2 x 2 A4 pages, the rest of the panel left out.
    PrintOptions real;
    real.fieldMm = 40;
    real.areaName = QStringLiteral("Zhlaví A");
    const PrintLayout onPaper = printLayout(10 * 47, 5 * 47, QSizeF(3000, 1900), 300, real, 47);
    QCOMPARE(qRound(onPaper.scale * 47 * 1000), qRound(40 / 25.4 * 300 * 1000));
    QCOMPARE(onPaper.pageCount(), 4);
    const auto area = areaPicture(picture, TOblast{140, 2, 20, 5, real.areaName});
    QCOMPARE(area->cells, QRect(140, 2, 10, 5));
    QVERIFY(!areaPicture(picture, TOblast{150, 0, 5, 5, {}}));
    const QString path = m_dir.filePath("real.pdf");
    QVERIFY(writeRealSizePdf(path, doc, m_images, *area, real).isEmpty());
    QCOMPARE(pdfPages(fileBytes(path)), 4);
    QCOMPARE(pagePlaceText(2, 3), QStringLiteral("řada 2, sloupec 3"));
    QVERIFY(printHeader(doc, real.areaName).endsWith(QStringLiteral("Oblast: Zhlaví A")));
    QVERIFY(!writeRealSizePdf(m_dir.filePath("none/real.pdf"), doc, m_images, *area, real).isEmpty());
}

QTEST_MAIN(TestExport)
#include "test_export.moc"
