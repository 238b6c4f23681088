#include "cli/RenderCommand.h"

#include "cli/CommandArguments.h"
#include "render/ImageSet.h"
#include "render/PictureFiles.h"
#include "render/Viewport.h"

namespace kalmor::cli {

namespace {

const char *const Usage =
    "usage: kalmor-cli render FILE -o OUT.png|OUT.pdf|OUT.svg [--cell N] [--grid] [--region X,Y,W,H]\n"
    "\n"
    "Draws the station's panel as the editor exports it: the elements on the\n"
    "panel's background colour, without cursor frame, preview or diagnostics.\n"
    "\n"
    "  -o, --output OUT   the picture file; its extension picks the format\n"
    "  --cell N           cell size in pixels, 1 to 1047 (default 47)\n"
    "  --grid             draw the blue grid\n"
    "  --region X,Y,W,H   only the W x H cells from column X, row Y\n"
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

}  // namespace

int runRenderCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.contains(QStringLiteral("--help"))) {
        out << Usage;
        return ExitOk;
    }
    const CommandArguments a(args, {QStringLiteral("-o"), QStringLiteral("--output"), QStringLiteral("--cell"),
                                    QStringLiteral("--region")},
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
