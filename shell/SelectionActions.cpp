#include "shell/SelectionActions.h"

#include "editing/PanelSelection.h"
#include "editing/SelectionCommands.h"
#include "shell/MainMenu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kalmor {

SelectionActions::SelectionActions(SelectionCommands &commands, const PanelSelection &selection,
                                   const MainMenu &menu, QObject *parent)
    : QObject(parent), m_selection(selection), m_menu(menu)
{
    SelectionCommands *c = &commands;
    connect(menu.MP_Vyjmout, &QAction::triggered, c, &SelectionCommands::cutSelected);
    connect(menu.MP_Kopirovat, &QAction::triggered, c, &SelectionCommands::copySelected);
    connect(menu.MP_Vlozit, &QAction::triggered, c, &SelectionCommands::paste);
    connect(menu.MP_Smazat, &QAction::triggered, c, &SelectionCommands::deleteSelected);
    connect(menu.MP_VybratVse, &QAction::triggered, c, &SelectionCommands::selectAll);
    connect(menu.MP_ZrcadlitVodorovne, &QAction::triggered, c, [c] { c->mirrorSelected(MirrorAxis::LeftRight); });
    connect(menu.MP_ZrcadlitSvisle, &QAction::triggered, c, [c] { c->mirrorSelected(MirrorAxis::TopBottom); });
    connect(&selection, &PanelSelection::changed, this, &SelectionActions::showSelectionState);
    // Asking another program for the clipboard's formats takes a round
    // trip, so it is asked only when the clipboard changes.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &SelectionActions::showClipboardState);
    showSelectionState();
    showClipboardState();
}

void SelectionActions::showSelectionState()
{
    const bool selected = !m_selection.isEmpty();
    for (QAction *onSelection : {m_menu.MP_Vyjmout, m_menu.MP_Kopirovat, m_menu.MP_Smazat, m_menu.MP_ZrcadlitVodorovne,
                                 m_menu.MP_ZrcadlitSvisle})
        onSelection->setEnabled(selected);
}

void SelectionActions::showClipboardState()
{
    const QMimeData *clipboard = QGuiApplication::clipboard()->mimeData();
    m_menu.MP_Vlozit->setEnabled(clipboard && clipboard->hasText());
}

}  // namespace kalmor
