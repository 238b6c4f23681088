#pragma once

#include "document/DocumentLifecycle.h"

class QAction;
class QMenu;
class QMenuBar;

namespace kalmor {

// The main menu MM_Menu: every section, submenu and entry carries its
// control name as objectName, the separators too (N1 .. N6).
struct MainMenu {
    QMenuBar *bar = nullptr;  // MM_Menu

    QMenu *MS_Soubor = nullptr;
    QAction *MP_Novy = nullptr;
    QAction *MP_Otevreni = nullptr;
    QAction *MP_OtevritUkazku = nullptr;
    QAction *MP_Ulozeni = nullptr;
    QAction *MP_UlozitJako = nullptr;
    QAction *MP_Export = nullptr;
    QAction *MP_ExportKusovniku = nullptr;
    QAction *MP_Tisk = nullptr;
    QAction *Konec1 = nullptr;

    QMenu *MS_Upravy = nullptr;
    QAction *Zpt2 = nullptr;
    QAction *MP_Znovu = nullptr;
    QMenu *Posunoutvechnyprvky1 = nullptr;
    QAction *Zpt1 = nullptr;          // shift left
    QAction *Posunoutve1 = nullptr;   // shift right
    QAction *PosunoutveV1 = nullptr;  // shift down
    QAction *Posunoutve2 = nullptr;   // shift up
    QAction *MP_PosunoutVseO = nullptr;
    QAction *MP_KontrolaPanelu = nullptr;
    QAction *MP_Vyjmout = nullptr;
    QAction *MP_Kopirovat = nullptr;
    QAction *MP_Vlozit = nullptr;
    QAction *MP_Smazat = nullptr;
    QAction *MP_VybratVse = nullptr;
    QAction *MP_ZrcadlitVodorovne = nullptr;
    QAction *MP_ZrcadlitSvisle = nullptr;
    QAction *MP_Najit = nullptr;

    QMenu *MS_Nastaveni = nullptr;
    QAction *OStanici1 = nullptr;
    QAction *Panel1 = nullptr;
    QAction *Vstupnvstupnbody1 = nullptr;
    QAction *Oblasti1 = nullptr;

    QMenu *MS_Zobrazit = nullptr;
    QMenu *PanelVaxel1 = nullptr;
    QAction *MP_InfoVykreslovani = nullptr;
    QAction *MP_Nahled = nullptr;
    QAction *MP_PolickoPodKurzorem = nullptr;
    QAction *MP_Mrizka = nullptr;
    QAction *MP_KolejoveObvody = nullptr;
    QAction *MP_Oblasti = nullptr;
    QAction *MP_Texty = nullptr;
    QAction *MS_NahledPanelu = nullptr;
    QMenu *Panelynstroj1 = nullptr;
    QAction *MP_HorniLista = nullptr;
    QAction *MP_Sortiment = nullptr;
    QAction *MP_LevyPanel = nullptr;
    QAction *MP_StatusPanel = nullptr;
    QAction *MP_SkrytVsechnyPanely = nullptr;
    QAction *MP_ZobrazitVsechnyPanely = nullptr;
    QAction *MP_UkotvitPanelSortiment = nullptr;

    QMenu *MS_Napoveda = nullptr;
    QAction *MP_Prirucka = nullptr;
    QAction *Manul1 = nullptr;
    QAction *Oprogramu1 = nullptr;

    QMenu *section(MenuSection s) const;
};

// Builds the menu into the bar with its captions, shortcuts, glyphs,
// check marks and enabled states as the program starts.
MainMenu buildMainMenu(QMenuBar *bar);

}  // namespace kalmor
