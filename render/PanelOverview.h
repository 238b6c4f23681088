#pragma once

#include "render/PanelPicture.h"

#include <QImage>
#include <QSize>

namespace kalmor {

class ImageSet;

// A picture of a panel region at any scale, made with the export's own
// composition: the region is composed strip by strip at the smallest whole
// cell size that is at least the scale (one pixel a cell at the least),
// and each strip is pooled down into the picture at once (averaged where
// few source pixels meet in one, else the one standing out most from the
// fill colour, so that thin track stays in sight). Memory stays
// that of the picture and one strip, whatever the panel's size; the work
// is that of composing the panel at that cell size.
//
// `picture` gives the region, grid and fill colour (its cell size is not
// used); `size` the picture's pixels. The region is stretched to it, so
// the caller keeps the region's proportions.
QImage composeOverview(const StationData &doc, const ImageSet &images, const PictureOptions &picture, QSize size);

// The size of the region at `pixelsPerCell`, at least one pixel each way.
QSize overviewSize(const QRect &cells, double pixelsPerCell);

}  // namespace kalmor
