#include "cli/RenderCommand.h"

#include "cli/CommandArguments.h"
#include "render/ImageSet.h"
#include "render/PanelPrint.h"
#include "render/PictureFiles.h"
#include "render/Viewport.h"

#include <algorithm>

namespace kalmor::cli {

namespace {

const char *const Usage =
    "usage: kalmor-cli render FILE -o OUT.png|OUT.pdf|OUT.svg [--cell N] [--grid] [--region X,Y,W,H]\n"
    "                         [--area NAME] [--field-mm MM]\n"
    "\n"
    "Draws the station's panel as the editor exports it: the elements on the\n"
    "panel's background colour, without cursor frame, preview or diagnostics.\n"
    "\n"
    "  -o, --output OUT   the picture file; its extension picks the format\n"
    "  --cell N           cell size in pixels, 1 to 1047 (default 47)\n"
    "  --grid             draw the blue grid\n"
    "  --region X,Y,W,H   only the W x H cells from column X, row Y\n"
    "  --area NAME        only the cells of the area of that name (as far as\n"
    "                     they lie on the panel)\n"
    "  --field-mm MM      PDF in real size: one cell MM millimetres (5 to 100),\n"
    "                     on A4 pages with cut marks and each page's place\n"
    "\n"
    "PNG pictures are limited to 400,000,000 pixels; PDF and SVG are not.\n";

// X,Y,W,H in cells, inside the panel.
std::optional<QRect> regionIn(const QString &text, const StationData &doc)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    const auto x = numberIn(parts[0], 0, doc.columns - 1);
    const auto y = numberIn(parts[1], 0, doc.rows - 1);
    if (!x || !y)
        return std::nullopt;
    const auto w = numberIn(parts[2], 1, doc.columns - *x);
    const auto h = numberIn(parts[3], 1, doc.rows - *y);
    if (!w || !h)
        return std::nullopt;
    return QRect(*x, *y, *w, *h);
}

// A cell's millimetres on paper, for a PDF only.
std::optional<double> fieldMillimetres(QString text, PictureFormat format)
{
    bool ok = false;
    const double mm = text.replace(u',', u'.').toDouble(&ok);
    if (!ok || mm < MinFieldMm || mm > MaxFieldMm || format != PictureFormat::Pdf)
        return std::nullopt;
    return mm;
}

// The picture of the first area of the name, as far as it lies on the panel.
std::optional<PictureOptions> areaOf(const StationData &doc, const QString &name, const PictureOptions &whole)
{
    const auto area = std::find_if(doc.areas.begin(), doc.areas.end(), [&name](const TOblast &o) { return o.NAME == name; });
    return area == doc.areas.end() ? std::nullopt : areaPicture(whole, *area);
}

int writeOnPages(const QString &output, const StationData &doc, const PictureOptions &picture,
                 const PrintOptions &paper, QTextStream &err)
{
    const ImageSet images;
    const QString error = writeRealSizePdf(output, doc, images, picture, paper);
    if (error.isEmpty())
        return ExitOk;
    complain(err, output + QStringLiteral(": ") + error);
    return ExitFailed;
}

}  // namespace

int runRenderCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.contains(QStringLiteral("--help"))) {
        out << Usage;
        return ExitOk;
    }
    const CommandArguments a(args, {QStringLiteral("-o"), QStringLiteral("--output"), QStringLiteral("--cell"),
                                    QStringLiteral("--region"), QStringLiteral("--area"), QStringLiteral("--field-mm")},
                             {QStringLiteral("--grid")});
    const QString output = a.has(QStringLiteral("-o")) ? a.value(QStringLiteral("-o")) : a.value(QStringLiteral("--output"));
    if (!a.ok() || a.positional().size() != 1 || output.isEmpty()) {
        complain(err, a.ok() ? QStringLiteral("render needs one station file and -o OUT") : a.error());
        err << Usage;
        return ExitFailed;
    }
    const std::optional<PictureFormat> format = pictureFormatOf(output);
    if (!format) {
        complain(err, output + QStringLiteral(": the extension must be .png, .pdf or .svg"));
        return ExitFailed;
    }
    int cell = Viewport::DesignCellSize;
    if (a.has(QStringLiteral("--cell"))) {
        const auto n = numberIn(a.value(QStringLiteral("--cell")), 1, Viewport::MaxCellSize);
        if (!n) {
            complain(err, QStringLiteral("--cell wants a whole number from 1 to %1, not '%2'")
                              .arg(Viewport::MaxCellSize)
                              .arg(a.value(QStringLiteral("--cell"))));
            return ExitFailed;
        }
        cell = *n;
    }
    PrintOptions paper;
    if (a.has(QStringLiteral("--field-mm"))) {
        const auto mm = fieldMillimetres(a.value(QStringLiteral("--field-mm")), *format);
        if (!mm) {
            complain(err, QStringLiteral("--field-mm wants millimetres from 5 to 100 and a PDF, not '%1'")
                              .arg(a.value(QStringLiteral("--field-mm"))));
            return ExitFailed;
        }
        paper.fieldMm = *mm;
    }
    const std::optional<StationData> doc = readStation(a.positional().first(), err);
    if (!doc)
        return ExitFailed;
    PictureOptions options = stationPicture(*doc, cell, a.has(QStringLiteral("--grid")));
    if (a.has(QStringLiteral("--region"))) {
        const auto region = regionIn(a.value(QStringLiteral("--region")), *doc);
        if (!region) {
            complain(err, QStringLiteral("%1: --region wants X,Y,W,H: whole cells inside the %2 x %3 panel, not '%4'")
                              .arg(a.positional().first())
                              .arg(doc->columns)
                              .arg(doc->rows)
                              .arg(a.value(QStringLiteral("--region"))));
            return ExitFailed;
        }
        options.cells = *region;
    }
    if (a.has(QStringLiteral("--area"))) {
        const QString name = a.value(QStringLiteral("--area"));
        const auto part = areaOf(*doc, name, options);
        if (!part) {
            complain(err, QStringLiteral("--area: no area '%1' on the panel").arg(name));
            return ExitFailed;
        }
        options = *part;
        paper.areaName = name;
    }
    if (paper.fieldMm > 0)
        return writeOnPages(output, *doc, options, paper, err);

    const ImageSet images;
    PanelComposer composer(*doc, images, options);
    const PictureResult result = writePicture(output, *format, composer, doc->stationName);
    switch (result.outcome) {
    case PictureResult::Outcome::Written:
        return ExitOk;
    case PictureResult::Outcome::TooLarge:
        complain(err, QStringLiteral("%1: %2 x %3 pixels is too large for PNG (at most %4 pixels); use a smaller "
                                     "--cell, a --region, or PDF or SVG")
                          .arg(output)
                          .arg(composer.width())
                          .arg(composer.height())
                          .arg(MaxPngPixels));
        return ExitFailed;
    case PictureResult::Outcome::FileError:
        complain(err, output + QStringLiteral(": ") + result.fileError);
        return ExitFailed;
    }
    return ExitFailed;
}

}  // namespace kalmor::cli
