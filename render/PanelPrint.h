#pragma once

#include "render/PanelPicture.h"

#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace kalmor {

// How the panel goes on paper: scaled to fit one page, or at a chosen
// scale over as many pages as it needs. At 100 % a pixel of the panel is
// a pixel of a 96 dpi screen.
struct PrintOptions {
    bool fitToPage = true;
    int scalePercent = 100;
};

// Where the pages fall: the panel picture (at its cell size) cut into
// `across` x `down` pages, `scale` device pixels per picture pixel.
struct PrintLayout {
    int across = 1;
    int down = 1;
    double scale = 1;
    int pageCount() const { return across * down; }
};

// The layout for a picture on pages whose panel area (below the header)
// is `area` device pixels, at `dpi` device pixels per inch.
PrintLayout printLayout(qint64 pictureWidth, qint64 pictureHeight, QSizeF area, int dpi, const PrintOptions &options);

// The header line of every page: station name, author, version and issue
// date; and the page number "strana N / M".
QString printHeader(const StationData &doc);
QString pageNumberText(int page, int pages);

// Prints the picture `picture` of the document on the device, one header
// per page. Each page composes only the part of the panel it shows, at no
// more pixels than the paper can show (300 dpi at most), so even the
// largest panel fits on one page in bounded time and memory. Returns
// false when the device could not start or take a new page.
bool printPanel(QPagedPaintDevice &device, const StationData &doc, const ImageSet &images,
                const PictureOptions &picture, const PrintOptions &options);

}  // namespace kalmor
