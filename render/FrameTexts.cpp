#include "render/FrameTexts.h"

#include "render/index/ElementIndex.h"

#include <algorithm>
#include <limits>

namespace kalmor {

namespace {

// A colour over what lies below, by a coverage of 0 to 255.
QRgb blended(QRgb below, QRgb colour, uint cover)
{
    const uint keep = 255u - cover;
    const auto channel = [&](int b, int c) { return int((uint(b) * keep + uint(c) * cover + 127) / 255); };
    return qRgb(channel(qRed(below), qRed(colour)), channel(qGreen(below), qGreen(colour)),
                channel(qBlue(below), qBlue(colour)));
}

qint64 floorHalf(qint64 v)
{
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

}  // namespace

template <class Record>
qsizetype TextReach::OfList::longest(const ElementList<Record> &records)
{
    if (list == &records && revision == records.revision())
        return longestSoFar;
    touched.clear();
    if (list == &records && records.positionsChangedSince(revision, touched)) {
        for (const qint32 p : touched) {
            if (p < records.count())
                longestSoFar = std::max(longestSoFar, records.at(p).TEXT.size());
        }
    } else {
        longestSoFar = 0;
        for (const Record &r : records)
            longestSoFar = std::max(longestSoFar, r.TEXT.size());
    }
    list = &records;
    revision = records.revision();
    return longestSoFar;
}

void FrameTexts::gather(const StationData &doc, ElementIndex *index, TextReach &reach, const TextPictures &pictures,
                        int cellSize, const QRect &clip)
{
    m_draws.clear();
    if (cellSize < SmallestTextCell || clip.isEmpty())
        return;
    const TextLook look = pictures.look(cellSize);
    gatherList(doc.plates, ElementIndex::Layer::Plates, doc, index, reach, pictures, look, clip);
    if (cellSize >= SmallestDesignationCell)
        gatherList(doc.deskElements, ElementIndex::Layer::Desk, doc, index, reach, pictures, look, clip);
}

template <class Record>
void FrameTexts::gatherList(const ElementList<Record> &list, ElementIndex::Layer layer, const StationData &doc,
                            ElementIndex *index, TextReach &reach, const TextPictures &pictures,
                            const TextLook &look, const QRect &clip)
{
    if (list.isEmpty())
        return;
    if (!index) {
        for (qint32 p = 0; p < qint32(list.count()); ++p) {
            if (shows(list, p, look, clip))
                add(list, p, pictures, look, clip);
        }
        return;
    }
    const qsizetype longest = reach.longestText(list);
    if (longest == 0)
        return;
    // A text is centred on its cell: it reaches half its width to either
    // side, and its ink a little past its advance.
    constexpr qint64 Far = std::numeric_limits<int>::max() / 2;
    const qint64 side = qint64(longest) * look.widestCharacter / 2 + plateTextPixelSize(look.cellSize) + 2;
    const QRect wide(QPoint(int(std::max<qint64>(-Far, clip.left() - side)), clip.top()),
                     QPoint(int(std::min<qint64>(Far, clip.right() + side)), clip.bottom()));
    index->gather(layer, doc, wide, look.cellSize, m_near);
    std::erase_if(m_near, [&](const IndexedDraw &d) { return !shows(list, d.pos, look, clip); });
    std::vector<const QString *> texts;
    texts.reserve(m_near.size());
    for (const IndexedDraw &d : m_near)
        texts.push_back(&list.at(d.pos).TEXT);
    pictures.prepare(texts, look.cellSize);
    for (const IndexedDraw &d : m_near)
        add(list, d.pos, pictures, look, clip);
}

template <class Record>
bool FrameTexts::shows(const ElementList<Record> &list, qint32 position, const TextLook &look, const QRect &clip)
{
    const Record &r = list.at(position);
    // Of records stacked on one cell only the one drawn on top shows its
    // text, as it is the one picked and edited there.
    if (r.TEXT.isEmpty() || list.lastAt(r.X, r.Y) != position)
        return false;
    const qint64 cell = look.cellSize;
    const qint64 rowTop = qint64(r.Y) * cell;
    if (rowTop > clip.bottom() || rowTop + cell <= clip.top())
        return false;
    // Far records with short texts are passed over before their text is
    // drawn: the widened search finds them for the sake of the longest.
    const qint64 centre = qint64(r.X) * cell + cell / 2;
    const qint64 half = qint64(r.TEXT.size()) * look.widestCharacter / 2 + cell;
    return centre - half <= clip.right() && centre + half >= clip.left();
}

template <class Record>
void FrameTexts::add(const ElementList<Record> &list, qint32 position, const TextPictures &pictures,
                     const TextLook &look, const QRect &clip)
{
    const Record &r = list.at(position);
    const qint64 cell = look.cellSize;
    const qint64 rowTop = qint64(r.Y) * cell;
    auto picture = pictures.picture(r.TEXT, look.cellSize);
    const qint64 penX = qint64(r.X) * cell + floorHalf(cell - picture->advance);
    const qint64 left = penX + picture->offset.x();
    if (left > clip.right() || left + picture->coverage.width() <= clip.left())
        return;
    const qint64 top = rowTop + textBaseline(r.NAME, look) + picture->offset.y();
    m_draws.push_back(Draw{left, top, rowTop, rowTop + cell, std::move(picture)});
}

void FrameTexts::draw(FrameTarget &target) const
{
    const QRect &clip = target.clip;
    for (const Draw &d : m_draws) {
        const QImage &coverage = d.picture->coverage;
        const qint64 x0 = std::max<qint64>(d.left, clip.left());
        const qint64 x1 = std::min<qint64>(d.left + coverage.width() - 1, clip.right());
        const qint64 y0 = std::max({d.top, d.rowTop, qint64(clip.top())});
        const qint64 y1 = std::min({d.top + coverage.height() - 1, d.rowBottom - 1, qint64(clip.bottom())});
        for (qint64 y = y0; y <= y1 && x0 <= x1; ++y) {
            const uchar *ink = coverage.constScanLine(int(y - d.top)) + (x0 - d.left);
            const uchar *halo = d.picture->halo.constScanLine(int(y - d.top)) + (x0 - d.left);
            QRgb *pixel = target.at(x0, y);
            for (qint64 x = x0; x <= x1; ++x, ++ink, ++halo, ++pixel) {
                if (*halo != 0)
                    *pixel = blended(blended(*pixel, TextHaloColour, *halo), TextColour, *ink);
            }
        }
    }
}

}  // namespace kalmor
