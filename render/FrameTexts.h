#pragma once

#include "document/StationDocument.h"
#include "render/PictureDrawing.h"
#include "render/index/ElementIndex.h"
#include "render/PlateTexts.h"

#include <QRect>

#include <memory>
#include <vector>

namespace kalmor {

// How far the texts of the plates and the designations of the desk
// elements can reach beside their cells: the number of characters of the
// longest text of each list, followed from frame to frame through the
// list's change log. It only grows while edits are followed (a text made
// shorter still counts as long), which costs a wider search, never a text
// left out; a change of the whole list counts them anew.
class TextReach {
public:
    qsizetype longestText(const ElementList<TPoleStitek> &plates) { return m_plates.longest(plates); }
    qsizetype longestText(const ElementList<TPolePrvek> &desk) { return m_desk.longest(desk); }

private:
    struct OfList {
        template <class Record>
        qsizetype longest(const ElementList<Record> &list);

        const void *list = nullptr;
        quint64 revision = 0;
        qsizetype longestSoFar = 0;
        std::vector<qint32> touched;
    };
    OfList m_plates;
    OfList m_desk;
};

// The texts one frame draws: every plate, then every desk element, with a
// text that reaches the frame, in list order, each drawn from its picture
// at the cell size; of records stacked on one cell, the one drawn on top.
// Gathered once a frame, before its tiles, and then drawn tile by tile
// (from several threads): a text crossing a tile's edge is drawn in both
// tiles from the same picture at the same place, so the tiles join
// without a seam. A text runs over the cells left and right of its own,
// above whatever was drawn there, but never above or below its row.
class FrameTexts {
public:
    // With the index, only the records that may reach the clip are read:
    // those of its rows, as far to the sides as the longest text reaches.
    // Without one, every record is.
    void gather(const StationData &doc, ElementIndex *index, TextReach &reach, const TextPictures &pictures,
                int cellSize, const QRect &clip);
    void draw(FrameTarget &target) const;

private:
    template <class Record>
    void gatherList(const ElementList<Record> &list, ElementIndex::Layer layer, const StationData &doc,
                    ElementIndex *index, TextReach &reach, const TextPictures &pictures, const TextLook &look,
                    const QRect &clip);
    // Whether the record's text may reach the clip, told before its
    // picture is made.
    template <class Record>
    static bool shows(const ElementList<Record> &list, qint32 position, const TextLook &look, const QRect &clip);
    // Places the text of a record that shows.
    template <class Record>
    void add(const ElementList<Record> &list, qint32 position, const TextPictures &pictures, const TextLook &look,
             const QRect &clip);

    struct Draw {
        qint64 left = 0;  // of the coverage, in surface pixels
        qint64 top = 0;
        qint64 rowTop = 0;  // the plate's cell rows: top .. bottom - 1
        qint64 rowBottom = 0;
        std::shared_ptr<const TextPicture> picture;
    };
    std::vector<Draw> m_draws;
    std::vector<IndexedDraw> m_near;
};

}  // namespace kalmor
