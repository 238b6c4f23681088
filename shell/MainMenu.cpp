#include "shell/MainMenu.h"

#include "shell/ShellResources.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kalmor {

namespace {

QMenu *section(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QMenu *submenu(QMenu *parent, const char *name, const QString &caption)
{
    QMenu *menu = parent->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction *entry(QMenu *menu, const char *name, const QString &caption,
               const QKeySequence &shortcut = QKeySequence())
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(shortcut);
    // Shortcuts work wherever the main window is active, also with the
    // panels hidden.
    a->setShortcutContext(Qt::WindowShortcut);
    return a;
}

QAction *checkEntry(QMenu *menu, const char *name, const QString &caption,
                    const QKeySequence &shortcut = QKeySequence())
{
    QAction *a = entry(menu, name, caption, shortcut);
    a->setCheckable(true);
    a->setChecked(true);
    return a;
}

void separator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

}  // namespace

QMenu *MainMenu::section(MenuSection s) const
{
    switch (s) {
    case MenuSection::MS_Soubor: return MS_Soubor;
    case MenuSection::MS_Upravy: return MS_Upravy;
    case MenuSection::MS_Zobrazit: return MS_Zobrazit;
    case MenuSection::MS_Napoveda: return MS_Napoveda;
    case MenuSection::MS_Nastaveni: return MS_Nastaveni;
    }
    return nullptr;
}

MainMenu buildMainMenu(QMenuBar *bar)
{
    MainMenu m;
    m.bar = bar;
    bar->setObjectName(QStringLiteral("MM_Menu"));

    m.MS_Soubor = section(bar, "MS_Soubor", QStringLiteral("Soubor"));
    m.MP_Novy = entry(m.MS_Soubor, "MP_Novy", QStringLiteral("Nový"), QKeySequence(Qt::CTRL | Qt::Key_N));
    m.MP_Otevreni = entry(m.MS_Soubor, "MP_Otevreni", QStringLiteral("Otevřít"), QKeySequence(Qt::CTRL | Qt::Key_O));
    m.MP_OtevritUkazku = entry(m.MS_Soubor, "MP_OtevritUkazku", QStringLiteral("Otevřít ukázku"));
    m.MP_Ulozeni = entry(m.MS_Soubor, "MP_Ulozeni", QStringLiteral("Uložit"), QKeySequence(Qt::CTRL | Qt::Key_S));
    m.MP_UlozitJako = entry(m.MS_Soubor, "MP_UlozitJako", QStringLiteral("Uložit jako ..."),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    separator(m.MS_Soubor, "N6");
    m.MP_Export = entry(m.MS_Soubor, "MP_Export", QStringLiteral("Exportovat obrázek ..."));
    m.MP_ExportKusovniku = entry(m.MS_Soubor, "MP_ExportKusovniku", QStringLiteral("Exportovat kusovník ..."));
    m.MP_Tisk = entry(m.MS_Soubor, "MP_Tisk", QStringLiteral("Tisk ..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    separator(m.MS_Soubor, "N1");
    m.Konec1 = entry(m.MS_Soubor, "Konec1", QStringLiteral("Konec"));
    m.MP_Novy->setIcon(glyph(GlyphKind::New));
    m.MP_Otevreni->setIcon(glyph(GlyphKind::Open));
    m.MP_Ulozeni->setIcon(glyph(GlyphKind::Save));
    m.MP_UlozitJako->setIcon(glyph(GlyphKind::SaveAs));

    m.MS_Upravy = section(bar, "MS_Upravy", QStringLiteral("Úpravy"));
    m.Zpt2 = entry(m.MS_Upravy, "Zpt2", QStringLiteral("Zpět"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.Zpt2->setIcon(glyph(GlyphKind::Undo));
    m.Zpt2->setEnabled(false);
    m.MP_Znovu = entry(m.MS_Upravy, "MP_Znovu", QStringLiteral("Znovu"));
    m.MP_Znovu->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    m.MP_Znovu->setIcon(glyph(GlyphKind::Redo));
    m.MP_Znovu->setEnabled(false);
    separator(m.MS_Upravy, "N3");
    m.Posunoutvechnyprvky1 = submenu(m.MS_Upravy, "Posunoutvechnyprvky1", QStringLiteral("Posunout všechny prvky"));
    m.Zpt1 = entry(m.Posunoutvechnyprvky1, "Zpt1", QStringLiteral("Posunout vše <"), QKeySequence(Qt::CTRL | Qt::Key_Left));
    m.Posunoutve1 = entry(m.Posunoutvechnyprvky1, "Posunoutve1", QStringLiteral("Posunout vše >"),
                          QKeySequence(Qt::CTRL | Qt::Key_Right));
    m.PosunoutveV1 = entry(m.Posunoutvechnyprvky1, "PosunoutveV1", QStringLiteral("Posunout vše V"),
                           QKeySequence(Qt::CTRL | Qt::Key_Down));
    m.Posunoutve2 = entry(m.Posunoutvechnyprvky1, "Posunoutve2", QStringLiteral("Posunout vše ^"),
                          QKeySequence(Qt::CTRL | Qt::Key_Up));
    separator(m.Posunoutvechnyprvky1, "N4");
    m.MP_PosunoutVseO = entry(m.Posunoutvechnyprvky1, "MP_PosunoutVseO", QStringLiteral("Posunout vše o ..."));
    separator(m.MS_Upravy, "N7");
    m.MP_Vyjmout = entry(m.MS_Upravy, "MP_Vyjmout", QStringLiteral("Vyjmout"), QKeySequence(Qt::CTRL | Qt::Key_X));
    m.MP_Kopirovat = entry(m.MS_Upravy, "MP_Kopirovat", QStringLiteral("Kopírovat"), QKeySequence(Qt::CTRL | Qt::Key_C));
    m.MP_Vlozit = entry(m.MS_Upravy, "MP_Vlozit", QStringLiteral("Vložit"), QKeySequence(Qt::CTRL | Qt::Key_V));
    m.MP_Smazat = entry(m.MS_Upravy, "MP_Smazat", QStringLiteral("Smazat"), QKeySequence(Qt::Key_Delete));
    m.MP_VybratVse = entry(m.MS_Upravy, "MP_VybratVse", QStringLiteral("Vybrat vše"), QKeySequence(Qt::CTRL | Qt::Key_A));
    m.MP_ZrcadlitVodorovne = entry(m.MS_Upravy, "MP_ZrcadlitVodorovne", QStringLiteral("Zrcadlit vodorovně"));
    m.MP_ZrcadlitSvisle = entry(m.MS_Upravy, "MP_ZrcadlitSvisle", QStringLiteral("Zrcadlit svisle"));
    separator(m.MS_Upravy, "N8");
    m.MP_Najit = entry(m.MS_Upravy, "MP_Najit", QStringLiteral("Najít ..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    m.MP_KontrolaPanelu = entry(m.MS_Upravy, "MP_KontrolaPanelu", QStringLiteral("Kontrola panelu"), QKeySequence(Qt::Key_F7));

    m.MS_Nastaveni = section(bar, "MS_Nastaveni", QStringLiteral("Nastavení"));
    m.OStanici1 = entry(m.MS_Nastaveni, "OStanici1", QStringLiteral("Informace o stanici"));
    m.Panel1 = entry(m.MS_Nastaveni, "Panel1", QStringLiteral("Panel Vaxel"));
    m.Vstupnvstupnbody1 = entry(m.MS_Nastaveni, "Vstupnvstupnbody1", QStringLiteral("Vstupní/výstupní body"));
    m.Oblasti1 = entry(m.MS_Nastaveni, "Oblasti1", QStringLiteral("Oblasti"));

    m.MS_Zobrazit = section(bar, "MS_Zobrazit", QStringLiteral("Zobrazit"));
    m.PanelVaxel1 = submenu(m.MS_Zobrazit, "PanelVaxel1", QStringLiteral("Panel Vaxel"));
    m.MP_InfoVykreslovani = checkEntry(m.PanelVaxel1, "MP_InfoVykreslovani", QStringLiteral("<Informace o vykreslování>"));
    m.MP_Nahled = checkEntry(m.PanelVaxel1, "MP_Nahled", QStringLiteral("Náhled vkládaného prvku"));
    m.MP_PolickoPodKurzorem = checkEntry(m.PanelVaxel1, "MP_PolickoPodKurzorem", QStringLiteral("Políčko pod kurzorem"));
    m.MP_Mrizka = checkEntry(m.PanelVaxel1, "MP_Mrizka", QStringLiteral("Mřížka"), QKeySequence(Qt::CTRL | Qt::Key_G));
    m.MP_KolejoveObvody = checkEntry(m.PanelVaxel1, "MP_KolejoveObvody", QStringLiteral("Kolejové obvody"),
                                     QKeySequence(Qt::CTRL | Qt::Key_K));
    m.MP_KolejoveObvody->setChecked(false);
    m.MP_Oblasti = checkEntry(m.PanelVaxel1, "MP_Oblasti", QStringLiteral("Oblasti"));
    m.MP_Texty = checkEntry(m.PanelVaxel1, "MP_Texty", QStringLiteral("Texty"));
    m.MS_NahledPanelu = entry(m.PanelVaxel1, "MS_NahledPanelu", QStringLiteral("Náhled panelu"), QKeySequence(Qt::Key_F9));
    m.Panelynstroj1 = submenu(m.MS_Zobrazit, "Panelynstroj1", QStringLiteral("Panely nástrojů"));
    m.MP_HorniLista = checkEntry(m.Panelynstroj1, "MP_HorniLista", QStringLiteral("Horní lišta"));
    m.MP_Sortiment = checkEntry(m.Panelynstroj1, "MP_Sortiment", QStringLiteral("Sortiment prvků"));
    m.MP_LevyPanel = checkEntry(m.Panelynstroj1, "MP_LevyPanel", QStringLiteral("Levý panel podrobností"));
    m.MP_StatusPanel = checkEntry(m.Panelynstroj1, "MP_StatusPanel", QStringLiteral("Status panel"));
    separator(m.Panelynstroj1, "N2");
    m.MP_SkrytVsechnyPanely = entry(m.Panelynstroj1, "MP_SkrytVsechnyPanely", QStringLiteral("Skrýt všechny"),
                                    QKeySequence(Qt::Key_F2));
    m.MP_ZobrazitVsechnyPanely = entry(m.Panelynstroj1, "MP_ZobrazitVsechnyPanely", QStringLiteral("Zobrazit všechny"),
                                       QKeySequence(Qt::Key_F3));
    separator(m.MS_Zobrazit, "N5");
    m.MP_UkotvitPanelSortiment = checkEntry(m.MS_Zobrazit, "MP_UkotvitPanelSortiment",
                                            QStringLiteral("Ukotvit panel součástí"));

    m.MS_Napoveda = section(bar, "MS_Napoveda", QStringLiteral("Nápověda"));
    m.MP_Prirucka = entry(m.MS_Napoveda, "MP_Prirucka", QStringLiteral("Příručka"), QKeySequence(Qt::Key_F1));
    m.Manul1 = entry(m.MS_Napoveda, "Manul1", QStringLiteral("Manuál"));
    m.Oprogramu1 = entry(m.MS_Napoveda, "Oprogramu1", QStringLiteral("O programu"));
    return m;
}

}  // namespace kalmor
