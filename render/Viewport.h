#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

namespace kalmor {

// One scroll bar as the viewport rules see it: the widget only mirrors it.
struct ScrollBarState {
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    bool enabled = true;
    friend bool operator==(const ScrollBarState &, const ScrollBarState &) = default;
};

// Cell size, applied panel size, size and position of the drawing surface
// and the two scroll bars SB_Vodorovny / SB_Svisly. No widgets: the work
// area mirrors this state and reports the user's scrolling back.
class Viewport : public QObject {
    Q_OBJECT
public:
    // The range of the zoom field; a number typed beyond it acts as typed
    // until the field brings it back.
    static constexpr int MinZoom = -200;
    static constexpr int MaxZoom = 200;
    static constexpr int DesignCellSize = 47;
    // Cells stay at least 1 pixel (the pointer mapping divides by the
    // size) and at most this many, so that a long number typed into the
    // zoom field cannot ask for pictures of gigabytes.
    static constexpr int MaxCellSize = 1047;

    explicit Viewport(QObject *parent = nullptr);

    int zoom() const { return m_zoom; }
    // 47 + zoom, kept within 1 to MaxCellSize.
    int cellSize() const;
    // The cell size a zoom gives.
    static int cellSizeFor(int zoom);

    qint32 appliedColumns() const { return m_columns; }
    qint32 appliedRows() const { return m_rows; }
    QSize surfaceSize() const { return m_surface; }
    // Top-left corner of the surface inside P_Plocha: 0 or negative.
    QPoint surfacePosition() const { return m_surfacePos; }
    const ScrollBarState &horizontal() const { return m_horizontal; }
    const ScrollBarState &vertical() const { return m_vertical; }
    QSize visibleArea() const { return m_visible; }

    // How far a click into a scroll bar's trough moves the view: the
    // visible extent less one cell, so a little of the old view stays in
    // sight (the whole extent when it is not larger than a cell). An arrow
    // click moves by one cell.
    int pageStep(Qt::Orientation orientation) const;

    // Set zoom: only the cell size changes.
    void setZoom(int zoom);

    // Apply panel size ("Nastavit"): the surface becomes columns x rows
    // cells, the applied size is remembered, then the scroll bars are
    // adjusted to the visible area last given to adjustScrollBars().
    void applyPanelSize(qint32 columns, qint32 rows);

    // NastaveniPosuvniku, with the size of P_Plocha.
    void adjustScrollBars(QSize visibleArea);

    // SB_VodorovnyChange / SB_SvislyChange: the position is clamped to the
    // bar's range and the surface moves to minus it.
    void setHorizontalPosition(int position);
    void setVerticalPosition(int position);
    // Moves the position of an enabled scroll bar (held within its range);
    // a disabled one, whose surface stays at the edge, keeps it.
    void scrollTo(Qt::Orientation orientation, qint64 position);
    // Scrolls so that the surface pixel stands in the middle of the visible
    // area, as far as the scroll bars reach.
    void centreOn(qint64 x, qint64 y);

    // The largest width or height a widget can have (QWIDGETSIZE_MAX).
    static constexpr qint64 MaxSurfaceExtent = 16777215;

signals:
    void zoomChanged(int zoom);
    void cellSizeChanged(int cellSize);
    void appliedSizeChanged(qint32 columns, qint32 rows);
    void surfaceSizeChanged(QSize size);
    void surfacePositionChanged(QPoint position);
    void scrollBarsChanged();

private:
    void moveSurface(QPoint position);

    int m_zoom = 0;
    qint32 m_columns = 150;
    qint32 m_rows = 50;
    QSize m_surface{4800, 2400};
    QPoint m_surfacePos;
    QSize m_visible;
    ScrollBarState m_horizontal;
    ScrollBarState m_vertical;
};

}  // namespace kalmor
