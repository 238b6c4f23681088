#pragma once

#include "render/FrameInputs.h"

#include <QObject>
#include <QPoint>

namespace kalmor {

// The selected rectangle of cells on the panel: editing state, never saved
// and kept over saves; whoever owns it clears it when the document takes
// over another station (New, Open).
class PanelSelection : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const CellRect &area() const { return m_area; }
    bool isEmpty() const { return m_area.isEmpty(); }

    void select(const CellRect &area);
    // The cells between two corner cells given in any order.
    void selectCells(QPoint from, QPoint to);
    void clear() { select(CellRect{}); }

signals:
    void changed();

private:
    CellRect m_area;
};

}  // namespace kalmor
