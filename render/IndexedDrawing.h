#pragma once

#include "document/StationDocument.h"
#include "render/ElementDrawing.h"
#include "render/index/ElementIndex.h"
#include "render/PictureDrawing.h"

#include <memory>
#include <mutex>
#include <vector>

namespace kalmor {

class ImageSet;
struct KnownKinds;

// What drawing the placed elements needs from tile to tile of a frame,
// kept so that a hundred thousand records need no new memory each tile.
struct PlacedScratch {
    PlacedScratch();

    std::vector<IndexedDraw> draws;
    DrawOrder order;
    std::shared_ptr<KnownKinds> known;
    // Held while the index or the overlays are asked, when tiles are
    // drawn on several threads: they work out their answers as asked.
    std::mutex *shared = nullptr;
    std::unique_lock<std::mutex> holdShared() const
    {
        return shared ? std::unique_lock(*shared) : std::unique_lock<std::mutex>();
    }
};

// Lamps, track tiles with their corner pieces and label plates, each list
// in its order, as far as they reach the target: the index offers what
// can, thinned out where records stack.
void drawPlacedElements(FrameTarget &target, const StationData &doc, const ImageSet &images, int cellSize,
                        ElementIndex &index, PlacedScratch &scratch);

}  // namespace kalmor
