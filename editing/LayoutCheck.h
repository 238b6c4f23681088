#pragma once

#include "analysis/LayoutAnalysis.h"
#include "analysis/TextDuplicates.h"
#include "editing/LayoutCheckWindow.h"
#include "editing/LayoutOverlaySource.h"
#include "render/FrameInputs.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace kalmor {

class PointerInput;
class StationDocument;
class Viewport;

// The layout check in the editor: keeps the analysis of the document up
// to date while anyone looks at it (the track circuits are shown or the
// check window is open, and only then), hands the frames its overlays and
// runs the check window "Kontrola panelu".
class LayoutCheck : public QObject {
    Q_OBJECT
public:
    LayoutCheck(const StationDocument &doc, Viewport &viewport, PointerInput &pointer, QWidget *windowParent);
    ~LayoutCheck() override;

    // The overlays of the next frame, the analysis brought up to date first.
    Overlays overlays(const ViewSwitches &switches);

    const LayoutAnalysis &analysis() const { return m_analysis; }
    const TextDuplicates &duplicates() const { return m_duplicates; }
    LayoutCheckWindow *window() const { return m_window; }

public slots:
    // "Kontrola panelu": shows the window (and brings it to the front).
    void showWindow();
    // Called on every render tick: the open window follows the document.
    void followEdits();
    // Centres the panel on the cell and puts the cursor cell there.
    void goToCell(QPoint cell);

private:
    bool windowOpen() const;
    void bringUpToDate();

    const StationDocument &m_doc;
    Viewport &m_viewport;
    PointerInput &m_pointer;
    LayoutAnalysis m_analysis;
    TextDuplicates m_duplicates;
    LayoutOverlaySource m_source{m_analysis};
    QPointer<LayoutCheckWindow> m_window;
    quint64 m_shownRevision = 0;
    quint64 m_shownDuplicates = 0;
};

}  // namespace kalmor
