#include "shell/HelpText.h"

namespace kalmor {

const QStringList &helpTextLines()
{
    // Release notes, newest first; the two empty lines at the end belong to them.
    static const QStringList lines{
        QStringLiteral("2.9.2014 16:53 - KALMOR verze 0.6"),
        QStringLiteral("Opravena chybně vykreslovaná mřížka."),
        QStringLiteral("Doplněna možnost zmenšování/zvětšování panelu."),
        QStringLiteral("Doplněny prvky: Štítky (zatím bez textu), žárovky."),
        QStringLiteral("Doplněna možnost měnit pozadí panelu."),
        QStringLiteral("ZNÁMÉ CHYBY:"),
        QStringLiteral("Chyba v grafice u vodorovného křížení (v pravém úhlu)"),
        QStringLiteral(""),
        QStringLiteral("============================================"),
        QStringLiteral("8.7.2014 1:12 - KALMOR verze 0.5 (neuvolněna)"),
        QStringLiteral(""),
        QStringLiteral("Opravena chyba nemožného načítání uložených reliéfů. Chyba se týkala načítání, takže dříve uložené nenačtitelné soubory lze nyní "),
        QStringLiteral("otevřít."),
        QStringLiteral("Doplněna možnost ukotvit/odkotvit panel záložek s jednotlivými prvky."),
        QStringLiteral("Doplněna možnost vyplnit údaje o stanici."),
        QStringLiteral("Odstraněna chyba při použití jedné z oboustranných výhybek."),
        QStringLiteral("Doplněn ukazatel ukládání souboru."),
        QStringLiteral("Doplněna možnost skrýt panely nástrojů křížkem v rohu."),
        QStringLiteral("Opraveno vykreslování mřížky, na větších reliéfech mizelo v polovině panelu svislé dělení políček."),
        QStringLiteral(""),
        QStringLiteral("=========================================="),
        QStringLiteral("6.7.2014 - KALMOR verze 0.4"),
        QStringLiteral(""),
        QStringLiteral("Jednotlivé koleje se vkládají klikáním myší na panel, volba koleje/výhybky se provádí na horním panelu kliknutím na příslušný obrázek."),
        QStringLiteral("Nevystačí-li místo na panelu, všechny prvky lze posouvat najednou pomocí zkratky CTRL+(příslušná šipka)."),
        QStringLiteral("Zvolený prvek lze také vkládat kliknutím tažením myši jako vodorovnou přímku (pouze přitažení zleva doprava)."),
        QStringLiteral(""),
        QStringLiteral("Velikost panelu se nastavuje na záložce Ostatní."),
        QStringLiteral(""),
        QStringLiteral("Před vložením prvku lze nastavit spojení nebo naopak mezeru v reliéfu (dělení kolejových obvodů). Nastavení se provádí zatržítky na "),
        QStringLiteral("levém panelu na záložce \"Dělení KO\""),
        QStringLiteral(""),
        QStringLiteral("Význam má pouze označování rohových styků, vodorovné a svislé návaznosti jsou zatím trvale spojeny. Dělení přímých kolejí "),
        QStringLiteral("se provede prvkem na záložce \"Šturc a dělení KO\"."),
        QStringLiteral(""),
        QStringLiteral("Program v této vývojové verzi umožn'uje pouze sestavení, uložení a načtení reliéfu, popř. změnu velikosti panelu, posun všech prvků "),
        QStringLiteral("panelu."),
        QStringLiteral(""),
        QStringLiteral("ZKRATKY:"),
        QStringLiteral(" - Ctrl+(směrové šipky) = Posun všech prvků po reliéfu o jedno políčko."),
        QStringLiteral(" - F2 = Skrýt všechny nástrojové panely"),
        QStringLiteral(" - F3 = Zobrazit všechny nástrojové panely"),
        QStringLiteral(" - Ctrl+O = Načtení souboru"),
        QStringLiteral(" - Ctrl+S = Uložení souboru"),
        QStringLiteral(" - Ctrl+N = Nový soubor (v případě neuložených změn zobrazuje výzvu k potvrzení vyčištění programu)"),
        QStringLiteral(" - Ctrl+Shift+S = Uložit jako nový soubor"),
        QStringLiteral(""),
        QStringLiteral("============================================="),
        QStringLiteral("1.7.2014"),
        QStringLiteral("Start vývoje."),
        QStringLiteral(""),
        QStringLiteral(""),
    };
    return lines;
}

}  // namespace kalmor
