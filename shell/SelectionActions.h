#pragma once

#include <QObject>

namespace kalmor {

class PanelSelection;
class SelectionCommands;
struct MainMenu;

// The entries "Vyjmout", "Kopírovat", "Vložit", "Smazat", "Vybrat vše",
// "Zrcadlit vodorovně" and "Zrcadlit svisle" run the selection commands,
// each enabled when it can act: those on the selection while cells are
// selected, "Vložit" while the clipboard holds text. A text or spin field
// with the keyboard focus keeps Ctrl+C, X, V, A and Del for its text.
class SelectionActions : public QObject {
    Q_OBJECT
public:
    SelectionActions(SelectionCommands &commands, const PanelSelection &selection, const MainMenu &menu,
                     QObject *parent = nullptr);

private:
    void showSelectionState();
    void showClipboardState();

    const PanelSelection &m_selection;
    const MainMenu &m_menu;
};

}  // namespace kalmor
