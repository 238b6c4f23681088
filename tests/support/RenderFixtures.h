#pragma once

#include "document/Records.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"
#include "render/index/ElementIndex.h"

#include <QImage>
#include <QRect>
#include <QString>

namespace kalmor {

inline TPoleZarovka lamp(qint32 x, qint32 y, qint32 dx, qint32 dy, const char *name = "ZAR_CE_ZH")
{
    return TPoleZarovka{x, y, dx, dy, QString::fromLatin1(name)};
}

inline TPoleStitek plate(qint32 x, qint32 y, const char *name)
{
    return TPoleStitek{QString::fromLatin1(name), x, y};
}

// Frames composed through one cell index, kept from frame to frame.
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

}  // namespace kalmor
