#pragma once

#include "render/PanelPicture.h"

#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace kalmor {

// How the panel goes on paper: scaled to fit one page, at a chosen scale
// over as many pages as it needs, or in real size. At 100 % a pixel of the
// panel is a pixel of a 96 dpi screen. In real size one cell is fieldMm
// millimetres, and every page carries cut marks and its place in the
// whole ("řada 2, sloupec 3"), so that the pages can be trimmed and
// joined into a desk module at 1:1.
struct PrintOptions {
    bool fitToPage = true;
    int scalePercent = 100;
    double fieldMm = 0;  // above 0: real size, which wins over the two above
    QString areaName{};  // named in the header when one area is printed
};

// The sizes of a cell a desk is built with, and the range a typed one
// must lie in.
inline constexpr double MinFieldMm = 5;
inline constexpr double MaxFieldMm = 100;

// Room around the panel on every page in real size, for the cut marks and
// the page's place.
inline constexpr double RealSizeMarginMm = 10;

// Where the pages fall: the panel picture (at its cell size) cut into
// `across` x `down` pages, `scale` device pixels per picture pixel.
struct PrintLayout {
    int across = 1;
    int down = 1;
    double scale = 1;
    int pageCount() const { return across * down; }
};

// The layout for a picture on pages whose panel area (below the header,
// inside the real-size margin) is `area` device pixels, at `dpi` device
// pixels per inch; cellSize: pixels of a cell in the picture.
PrintLayout printLayout(qint64 pictureWidth, qint64 pictureHeight, QSizeF area, int dpi, const PrintOptions &options,
                        int cellSize = 47);

// The header line of every page: station name, author, version and issue
// date, and the area when one is printed; the page number "strana N / M";
// a page's place in the whole, "řada 2, sloupec 3" (both from 1).
QString printHeader(const StationData &doc, const QString &areaName = {});
QString pageNumberText(int page, int pages);
QString pagePlaceText(int row, int column);

// Prints the picture `picture` of the document on the device, one header
// per page. Each page composes only the part of the panel it shows, at no
// more pixels than the paper can show (300 dpi at most), so even the
// largest panel fits on one page in bounded time and memory. Returns
// false when the device could not start or take a new page.
bool printPanel(QPagedPaintDevice &device, const StationData &doc, const ImageSet &images,
                const PictureOptions &picture, const PrintOptions &options);

// A PDF of A4 landscape pages in real size (options.fieldMm), written
// beside the file at `path` and put in its place only when complete;
// empty text on success, else the platform's message.
QString writeRealSizePdf(const QString &path, const StationData &doc, const ImageSet &images,
                         const PictureOptions &picture, const PrintOptions &options);

}  // namespace kalmor
