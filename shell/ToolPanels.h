#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QWidget;

namespace kalmor {

// The widgets and menu entries the tool-panel commands show, hide, check
// and uncheck. The palette may be attached after the main window exists.
struct ToolPanelWidgets {
    QWidget *toolBar = nullptr;        // P_HorniLista
    QWidget *dockedAssortment = nullptr;  // P_Sortiment
    QWidget *leftPanel = nullptr;      // P_Levy
    QWidget *statusBar = nullptr;      // ZB_Zapati
    QAction *toolBarEntry = nullptr;   // MP_HorniLista
    QAction *assortmentEntry = nullptr;  // MP_Sortiment
    QAction *leftPanelEntry = nullptr;   // MP_LevyPanel
    QAction *statusBarEntry = nullptr;   // MP_StatusPanel
    QAction *dockEntry = nullptr;        // MP_UkotvitPanelSortiment
};

// Showing and hiding the main window's tool panels, docking and undocking
// the assortment. The palette's own close reaction runs whenever one of
// these commands closes it (close(), not hide()); the assortment
// synchronisation is the callback given to setSynchronisation().
class ToolPanels : public QObject {
    Q_OBJECT
public:
    explicit ToolPanels(const ToolPanelWidgets &widgets, QObject *parent = nullptr);

    void setPalette(QWidget *palette) { m_palette = palette; }
    void setSynchronisation(std::function<void()> synchronise) { m_synchronise = std::move(synchronise); }

public slots:
    // The toggle entries; each is connected to its entry's triggered(), so
    // Qt has already inverted the check mark when it runs.
    void MP_HorniListaClick();
    void MP_SortimentClick();
    void MP_LevyPanelClick();
    void MP_StatusPanelClick();
    void MP_SkrytVsechnyPanelyClick();     // F2
    void MP_ZobrazitVsechnyPanelyClick();  // F3
    void MP_UkotvitPanelSortimentClick();
    // B_Kotva of the main window.
    void B_KotvaClick();
    // The three "x" buttons.
    void B_ZavritPanelNastrojuClick();
    void B_ZavritPanelSortimentClick();
    void LeftPanelCloseClick();

private:
    bool paletteVisible() const;
    void closePaletteIfVisible();
    void showPalette();
    void synchronise();

    ToolPanelWidgets m_w;
    QPointer<QWidget> m_palette;
    std::function<void()> m_synchronise;
};

}  // namespace kalmor
