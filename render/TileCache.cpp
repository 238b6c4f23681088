#include "render/TileCache.h"

#include <algorithm>

namespace kalmor {

namespace {

int tilesAcross(int pixels)
{
    // A view not on the tile grid meets one tile more.
    return pixels / TileCache::Pixels + 2;
}

}  // namespace

void TileCache::fitView(QSize view)
{
    // One view's worth and a row and a column more: as a view scrolls,
    // the tiles that left it make room for those that come in. More would
    // only keep a view that was scrolled away from, at a quarter of a
    // megabyte a tile.
    const std::size_t wanted
        = std::size_t((tilesAcross(view.width()) + 1) * (tilesAcross(view.height()) + 1));
    m_capacity = std::max(m_capacity, wanted);
}

void TileCache::clear()
{
    m_free.clear();
    for (std::size_t s = 0; s < m_slots.size(); ++s) {
        Slot &slot = m_slots[s];
        slot.tile = NoTile;
        slot.valid = QRect();
        slot.preview.reset();
        m_free.push_back(int(s));
    }
    m_byTile.clear();
}

void TileCache::beginFrame(const TileInputs &inputs)
{
    ++m_frame;
    if (m_inputs != inputs) {
        // The pictures are kept for the next tiles: fresh memory costs
        // the kernel's time for every page, more than composing into it.
        clear();
        m_inputs = inputs;
    }
}

int TileCache::slotFor(QPoint tile)
{
    if (m_capacity == 0)
        fitView(QSize(1920, 1080));
    int chosen = -1;
    if (!m_free.empty()) {
        chosen = m_free.back();
        m_free.pop_back();
    } else if (m_slots.size() < m_capacity) {
        chosen = newSlot();
    } else {
        // The least recently used tile that this frame does not show.
        quint64 oldest = m_frame;
        for (std::size_t s = 0; s < m_slots.size(); ++s) {
            if (m_slots[s].lastUsed < oldest) {
                oldest = m_slots[s].lastUsed;
                chosen = int(s);
            }
        }
        // Every tile is in this frame: a view larger than fitted.
        if (chosen < 0)
            chosen = newSlot();
    }
    Slot &slot = m_slots[std::size_t(chosen)];
    if (slot.tile != NoTile)
        m_byTile.remove(keyOf(slot.tile));
    slot.tile = tile;
    slot.valid = QRect();
    slot.preview.reset();
    m_byTile.insert(keyOf(tile), chosen);
    return chosen;
}

int TileCache::newSlot()
{
    m_slots.push_back(Slot{});
    m_slots.back().image = QImage(Pixels, Pixels, QImage::Format_RGB32);
    return int(m_slots.size()) - 1;
}

std::vector<TileCache::Use> TileCache::plan(const QRect &clip, const QRect &previewReach,
                                            const PreviewInputs &preview)
{
    std::vector<Use> uses;
    if (clip.isEmpty() || !m_inputs)
        return uses;
    const QRect surface(QPoint(0, 0), m_inputs->surfaceSize);
    const int left = clip.left() / Pixels;
    const int top = clip.top() / Pixels;
    const int right = clip.right() / Pixels;
    const int bottom = clip.bottom() / Pixels;

    // Which tiles are missing, first: whether this frame composes whole
    // tiles or only what it shows depends on how many.
    struct Wanted {
        QPoint tile;
        QRect rect;
        QRect part;
        std::optional<PreviewInputs> preview;
        int slot;
        bool missing;
    };
    std::vector<Wanted> wanted;
    int missing = 0;
    for (int ty = top; ty <= bottom; ++ty) {
        for (int tx = left; tx <= right; ++tx) {
            Wanted w;
            w.tile = QPoint(tx, ty);
            w.rect = QRect(tx * Pixels, ty * Pixels, Pixels, Pixels) & surface;
            w.part = w.rect & clip;
            if (w.rect.intersects(previewReach))
                w.preview = preview;
            w.slot = m_byTile.value(keyOf(w.tile), -1);
            w.missing = w.slot < 0 || m_slots[std::size_t(w.slot)].preview != w.preview
                || !m_slots[std::size_t(w.slot)].valid.contains(w.part);
            if (w.slot >= 0)
                m_slots[std::size_t(w.slot)].lastUsed = m_frame;
            missing += w.missing;
            wanted.push_back(std::move(w));
        }
    }
    const bool mostlyMissing = 2 * missing > int(wanted.size());
    uses.reserve(wanted.size());
    for (Wanted &w : wanted) {
        if (w.missing && w.slot < 0)
            w.slot = slotFor(w.tile);
        Slot &slot = m_slots[std::size_t(w.slot)];
        slot.lastUsed = m_frame;
        Use use{&slot.image, QPoint(w.tile.x() * Pixels, w.tile.y() * Pixels), w.part, QRect()};
        if (w.missing) {
            use.compose = mostlyMissing ? w.part : w.rect;
            slot.valid = use.compose;
            slot.preview = std::move(w.preview);
            ++m_composed;
        }
        uses.push_back(use);
    }
    return uses;
}

}  // namespace kalmor
