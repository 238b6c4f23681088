#pragma once

#include "document/Colours.h"

#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>

#include <algorithm>
#include <array>
#include <vector>

namespace kalmor {

// The layer switches of the view menu; all but the track circuits are on
// at start.
struct ViewSwitches {
    bool diagnostics = true;     // MP_InfoVykreslovani
    bool preview = true;         // MP_Nahled
    bool cursorFrame = true;     // MP_PolickoPodKurzorem
    bool grid = true;            // MP_Mrizka
    bool trackCircuits = false;  // MP_KolejoveObvody
    bool areas = true;           // MP_Oblasti
    bool texts = true;           // MP_Texty
    friend bool operator==(const ViewSwitches &, const ViewSwitches &) = default;
};

// A rectangle of whole cells, both corner cells included; empty when it
// holds no cell.
struct CellRect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = -1;
    qint32 bottom = -1;

    // The cells between two corner cells given in any order.
    static CellRect spanning(qint32 x1, qint32 y1, qint32 x2, qint32 y2)
    {
        return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    }
    bool isEmpty() const { return right < left || bottom < top; }
    bool contains(qint64 x, qint64 y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    friend bool operator==(const CellRect &, const CellRect &) = default;
};

// The track of one analysed tile in the colours of its circuits: its
// black pixels take the first colour on the side of its first point and
// the second on the side its direction (dx, dy) points to. A tile with one
// circuit has direction 0, 0 and the same colour twice.
struct TrackPaint {
    QPoint cell;
    qint32 tile = -1;  // position of the tile record in the tile list
    QRgb first = 0;
    QRgb second = 0;
    int dx = 0;
    int dy = 0;
};

// Where the overlays get the track circuits and the problem cells from;
// computed outside the renderer, which only reads them.
class OverlaySource {
public:
    virtual ~OverlaySource() = default;
    virtual void trackPaintsIn(const QRect &cells, std::vector<TrackPaint> &out) const = 0;
    virtual void problemCellsIn(const QRect &cells, std::vector<QPoint> &out) const = 0;
};

// The overlays' inputs as plain values: revision changes whenever what
// the source answers changes.
struct Overlays {
    const OverlaySource *source = nullptr;
    quint64 revision = 0;
    bool outlineProblems = false;
    friend bool operator==(const Overlays &, const Overlays &) = default;
};

// Editing state the frame shows, owned by the editing controls and copied
// here by whoever drives the frame.
struct EditingView {
    qint32 cursorColumn = 0;
    qint32 cursorRow = 0;
    QString currentKind = QStringLiteral("KOL_sLSPS");
    // Checked state of CH_Poloha_LH, CH_Poloha_LD, CH_Poloha_PH, CH_Poloha_PD.
    std::array<bool, 4> cornerChecks{false, false, false, false};
    // Values of SE_ZAR_OdsazeniX and SE_ZAR_OdsazeniY: where the next lamp goes.
    qint32 lampOffsetX = 0;
    qint32 lampOffsetY = 0;
    // The selected cells, outlined above the grid; empty when none.
    CellRect selection;
    friend bool operator==(const EditingView &, const EditingView &) = default;
};

// View state of the renderer itself.
struct RenderState {
    int cellSize = 47;                     // never below 1
    qint32 appliedColumns = 150;
    qint32 appliedRows = 50;
    QSize surfaceSize{4800, 2400};
    int previewOpacity = 100;              // 20 to 255
    bool focus = true;
    Colour fillColour = clGray;
    ViewSwitches switches;
    Overlays overlays;
    int lagCount = 1;
    int frameRate = 0;
    friend bool operator==(const RenderState &, const RenderState &) = default;
};

}  // namespace kalmor
