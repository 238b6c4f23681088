#include "shell/ToolPanels.h"

#include <QAction>
#include <QWidget>

namespace kalmor {

ToolPanels::ToolPanels(const ToolPanelWidgets &widgets, QObject *parent)
    : QObject(parent)
    , m_w(widgets)
{
}

bool ToolPanels::paletteVisible() const
{
    return m_palette && m_palette->isVisible();
}

void ToolPanels::closePaletteIfVisible()
{
    if (paletteVisible())
        m_palette->close();
}

void ToolPanels::showPalette()
{
    if (m_palette)
        m_palette->show();
}

void ToolPanels::synchronise()
{
    if (m_synchronise)
        m_synchronise();
}

void ToolPanels::MP_HorniListaClick()
{
    m_w.toolBar->setVisible(m_w.toolBarEntry->isChecked());
}

void ToolPanels::MP_LevyPanelClick()
{
    m_w.leftPanel->setVisible(m_w.leftPanelEntry->isChecked());
}

void ToolPanels::MP_StatusPanelClick()
{
    m_w.statusBar->setVisible(m_w.statusBarEntry->isChecked());
}

void ToolPanels::MP_SortimentClick()
{
    const bool on = m_w.assortmentEntry->isChecked();
    if (m_w.dockEntry->isChecked()) {
        m_w.dockedAssortment->setVisible(on);
    } else if (m_palette) {
        // Merely hidden: the palette's close reaction is not for this.
        m_palette->setVisible(on);
    }
    m_w.dockEntry->setEnabled(on);
    synchronise();
}

void ToolPanels::MP_SkrytVsechnyPanelyClick()
{
    m_w.toolBarEntry->setChecked(false);
    m_w.toolBar->hide();
    m_w.assortmentEntry->setChecked(false);
    m_w.dockedAssortment->hide();
    closePaletteIfVisible();
    m_w.leftPanelEntry->setChecked(false);
    m_w.leftPanel->hide();
    m_w.statusBarEntry->setChecked(false);
    m_w.statusBar->hide();
    synchronise();
}

void ToolPanels::MP_ZobrazitVsechnyPanelyClick()
{
    m_w.assortmentEntry->setChecked(true);
    if (m_w.dockEntry->isChecked()) {
        m_w.dockedAssortment->show();
        closePaletteIfVisible();
    } else {
        showPalette();
        m_w.dockedAssortment->hide();
    }
    m_w.toolBarEntry->setChecked(true);
    m_w.toolBar->show();
    m_w.leftPanelEntry->setChecked(true);
    m_w.leftPanel->show();
    m_w.statusBarEntry->setChecked(true);
    m_w.statusBar->show();
    synchronise();
}

void ToolPanels::MP_UkotvitPanelSortimentClick()
{
    if (m_w.dockEntry->isChecked()) {
        m_w.dockedAssortment->show();
        closePaletteIfVisible();
    } else {
        m_w.dockedAssortment->hide();
        if (!paletteVisible())
            showPalette();
    }
    synchronise();
}

void ToolPanels::B_KotvaClick()
{
    m_w.dockedAssortment->hide();
    showPalette();
    m_w.dockEntry->setChecked(false);
    synchronise();
}

void ToolPanels::B_ZavritPanelNastrojuClick()
{
    m_w.toolBar->hide();
    m_w.toolBarEntry->setChecked(false);
}

void ToolPanels::B_ZavritPanelSortimentClick()
{
    m_w.dockedAssortment->hide();
    m_w.assortmentEntry->setChecked(false);
}

void ToolPanels::LeftPanelCloseClick()
{
    m_w.leftPanel->hide();
    m_w.leftPanelEntry->setChecked(false);
}

}  // namespace kalmor
