#include "editing/LayoutCheck.h"

#include "document/StationDocument.h"
#include "editing/LayoutCheckWindow.h"
#include "editing/PointerInput.h"
#include "render/Viewport.h"

#include <algorithm>
#include <limits>

namespace kalmor {

LayoutCheck::LayoutCheck(const StationDocument &doc, Viewport &viewport, PointerInput &pointer,
                         QWidget *windowParent)
    : QObject(windowParent), m_doc(doc), m_viewport(viewport), m_pointer(pointer)
{
    m_window = new LayoutCheckWindow(m_analysis, windowParent);
    connect(m_window, &LayoutCheckWindow::cellChosen, this, &LayoutCheck::goToCell);
}

LayoutCheck::~LayoutCheck()
{
    // The window shows the analysis this object owns.
    delete m_window.data();
}

bool LayoutCheck::windowOpen() const
{
    return m_window && m_window->isVisible();
}

void LayoutCheck::bringUpToDate()
{
    m_analysis.update(m_doc.data());
    if (m_window && m_analysis.revision() != m_shownRevision) {
        m_shownRevision = m_analysis.revision();
        m_window->showResult();
    }
}

Overlays LayoutCheck::overlays(const ViewSwitches &switches)
{
    const bool open = windowOpen();
    if (!switches.trackCircuits && !open)
        return {};
    bringUpToDate();
    return Overlays{&m_source, m_analysis.revision(), open};
}

void LayoutCheck::showWindow()
{
    bringUpToDate();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void LayoutCheck::followEdits()
{
    if (windowOpen())
        bringUpToDate();
}

void LayoutCheck::goToCell(QPoint cell)
{
    m_pointer.setCursorCell(cell);
    const qint64 size = m_viewport.cellSize();
    const QSize visible = m_viewport.visibleArea();
    const auto position = [](qint64 pixels) {
        return int(std::clamp<qint64>(pixels, 0, std::numeric_limits<int>::max()));
    };
    m_viewport.setHorizontalPosition(position(cell.x() * size + size / 2 - visible.width() / 2));
    m_viewport.setVerticalPosition(position(cell.y() * size + size / 2 - visible.height() / 2));
}

}  // namespace kalmor
