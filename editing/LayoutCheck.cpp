#include "editing/LayoutCheck.h"

#include "document/StationDocument.h"
#include "editing/CellJump.h"
#include "editing/LayoutCheckWindow.h"
#include "editing/PointerInput.h"
#include "render/Viewport.h"

namespace kalmor {

LayoutCheck::LayoutCheck(const StationDocument &doc, Viewport &viewport, PointerInput &pointer,
                         QWidget *windowParent)
    : QObject(windowParent), m_doc(doc), m_viewport(viewport), m_pointer(pointer)
{
    m_window = new LayoutCheckWindow(m_analysis, &m_duplicates, windowParent);
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
    // The shared texts only matter to the window.
    if (windowOpen())
        m_duplicates.update(m_doc.data());
    if (m_window && (m_analysis.revision() != m_shownRevision || m_duplicates.revision() != m_shownDuplicates)) {
        m_shownRevision = m_analysis.revision();
        m_shownDuplicates = m_duplicates.revision();
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
    m_window->show();
    bringUpToDate();
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
    centreOnCell(m_viewport, m_pointer, cell);
}

}  // namespace kalmor
