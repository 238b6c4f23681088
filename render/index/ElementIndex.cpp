#include "render/index/ElementIndex.h"

#include "render/index/IndexFollow.h"
#include "render/index/IndexLayer.h"

#include <algorithm>
#include <array>

namespace kalmor {

using detail::IndexNames;
using detail::LayerState;

namespace {

// Sorts by list position: a radix sort, since a frame at the smallest
// cells gathers a hundred thousand records.
void sortByPosition(std::vector<IndexedDraw> &draws, std::vector<IndexedDraw> &scratch)
{
    if (draws.size() < 256) {
        std::sort(draws.begin(), draws.end(), [](const IndexedDraw &a, const IndexedDraw &b) { return a.pos < b.pos; });
        return;
    }
    constexpr int Bits = 11;
    constexpr quint32 Mask = (1u << Bits) - 1;
    quint32 highest = 0;
    for (const IndexedDraw &d : draws)
        highest = std::max(highest, quint32(d.pos));
    scratch.resize(draws.size());
    for (int shift = 0; shift < 32 && (shift == 0 || (highest >> shift) != 0); shift += Bits) {
        std::array<std::size_t, Mask + 2> start{};
        for (const IndexedDraw &d : draws)
            ++start[((quint32(d.pos) >> shift) & Mask) + 1];
        for (std::size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        for (const IndexedDraw &d : draws)
            scratch[start[(quint32(d.pos) >> shift) & Mask]++] = d;
        draws.swap(scratch);
    }
}

template <class Visit>
void forEachLayer(const StationData &doc, Visit visit)
{
    visit(ElementIndex::Layer::Lamps, doc.lamps);
    visit(ElementIndex::Layer::Tiles, doc.tiles);
    visit(ElementIndex::Layer::Plates, doc.plates);
    visit(ElementIndex::Layer::Desk, doc.deskElements);
}

}  // namespace

ElementIndex::ElementIndex() : m_names(std::make_unique<IndexNames>()), m_layers(4) {}

ElementIndex::~ElementIndex() = default;
ElementIndex::ElementIndex(ElementIndex &&) noexcept = default;
ElementIndex &ElementIndex::operator=(ElementIndex &&) noexcept = default;

void ElementIndex::gather(Layer layer, const StationData &doc, const QRect &rect, int cellSize,
                          std::vector<IndexedDraw> &out, Order order)
{
    forEachLayer(doc, [&](Layer which, const auto &list) {
        if (which != layer)
            return;
        LayerState &state = m_layers[std::size_t(layer)];
        out.clear();
        m_rebuilds += detail::catchUp(state, *m_names, list);
        const auto shift = list.shiftTotal();
        detail::gatherLayer(state, shift.dx - state.builtShiftX, shift.dy - state.builtShiftY, rect, cellSize, out);
        if (order == Order::List)
            sortByPosition(out, m_scratch);
    });
}

void ElementIndex::catchUp(const StationData &doc)
{
    forEachLayer(doc, [this](Layer layer, const auto &list) {
        m_rebuilds += detail::catchUp(m_layers[std::size_t(layer)], *m_names, list);
    });
}

void ElementIndex::followNow(const StationData &doc)
{
    forEachLayer(doc, [this](Layer layer, const auto &list) {
        LayerState &state = m_layers[std::size_t(layer)];
        if (!state.valid || state.list != &list)
            return;
        m_rebuilds += detail::catchUp(state, *m_names, list);
        // Each settle() compacts or merges at least one group: this ends.
        while (state.edits.unsettled())
            state.edits.settle();
        state.built.thinChanged();
        state.edits.thinChanged();
    });
}

const QString &ElementIndex::name(quint32 id) const
{
    return m_names->at(id);
}

quint32 ElementIndex::nameCount() const
{
    return m_names->count();
}

void ElementIndex::build(const StationData &doc)
{
    forEachLayer(doc, [this](Layer layer, const auto &list) {
        detail::rebuild(m_layers[std::size_t(layer)], *m_names, list);
        ++m_rebuilds;
    });
}

void ElementIndex::rebind(const StationData &doc)
{
    forEachLayer(doc, [this](Layer layer, const auto &list) {
        LayerState &state = m_layers[std::size_t(layer)];
        state.list = &list;
        state.revision = list.revision();
    });
}

void ElementIndex::invalidate()
{
    for (LayerState &layer : m_layers)
        layer.valid = false;
}

}  // namespace kalmor
