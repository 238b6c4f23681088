#include "document/StationDocument.h"
#include "document/TAboutStation.h"
#include "editing/AssortmentView.h"
#include "editing/ElementSelection.h"
#include "editing/PaletteWindow.h"
#include "editing/PanelSelection.h"
#include "editing/PointerInput.h"
#include "editing/ShiftDialog.h"
#include "view/DrawingSurface.h"
#include "view/RenderTimer.h"
#include "view/TNahledPanelu.h"
#include "view/TNastaveniPanelu.h"
#include "render/Viewport.h"
#include "view/WorkArea.h"
#include "shell/Application.h"
#include "shell/HelpText.h"
#include "shell/QtPrompts.h"
#include "shell/ShellResources.h"
#include "shell/TManual.h"
#include "shell/TPanelVaxel.h"
#include "shell/TStarter.h"
#include "shell/ToolPanels.h"
#include "shell/WrappingTabs.h"
#include "support/ShellTestSupport.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSpinBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <functional>

using namespace kalmor;
using namespace kalmor::shelltest;

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void helpWindow();
    void aboutWindows();
    void windowPlacement();
    void splashHandsOver();
    void startState();
    void leftPanelTabs();
    void menuTable();
    void fileDialogs();
    void shiftShortcutsWinOverFields();
};

void ShellTest::initTestCase()
{
    setUpShellSuite();
}

void ShellTest::helpWindow()
{
    const QStringList &lines = helpTextLines();
    QCOMPARE(lines.size(), 52);
    QCOMPARE(lines.at(0), QStringLiteral("2.9.2014 16:53 - KALMOR verze 0.6"));
    QCOMPARE(lines.at(8), QString(44, QLatin1Char('=')));
    QCOMPARE(lines.at(20), QString(42, QLatin1Char('=')));
    QCOMPARE(lines.at(47), QString(45, QLatin1Char('=')));
    for (int n : {12, 30, 33, 36})
        QVERIFY2(lines.at(n - 1).endsWith(QLatin1Char(' ')) && !lines.at(n - 1).endsWith(QLatin1String("  ")),
                 qPrintable(QString::number(n)));
    QCOMPARE(lines.at(11), QStringLiteral("Opravena chyba nemožného načítání uložených reliéfů. Chyba se týkala "
                                          "načítání, takže dříve uložené nenačtitelné soubory lze nyní "));
    QCOMPARE(lines.at(30), QStringLiteral("levém panelu na záložce \"Dělení KO\""));
    QCOMPARE(lines.at(33), QStringLiteral("se provede prvkem na záložce \"Šturc a dělení KO\"."));
    QCOMPARE(lines.at(35), QStringLiteral("Program v této vývojové verzi umožn'uje pouze sestavení, uložení a "
                                          "načtení reliéfu, popř. změnu velikosti panelu, posun všech prvků "));
    QCOMPARE(lines.at(39), QStringLiteral(" - Ctrl+(směrové šipky) = Posun všech prvků po reliéfu o jedno políčko."));
    QCOMPARE(lines.at(45), QStringLiteral(" - Ctrl+Shift+S = Uložit jako nový soubor"));
    QCOMPARE(lines.at(49), QStringLiteral("Start vývoje."));
    QVERIFY(lines.at(50).isEmpty() && lines.at(51).isEmpty());

    TManual manual;
    QCOMPARE(manual.objectName(), QStringLiteral("Manual"));
    QCOMPARE(manual.windowTitle(), QStringLiteral("Kalmor - Nápověda"));
    QVERIFY(manual.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(manual.geometry(), QRect(338, 133, 655, 397));
    QPlainTextEdit *text = child<QPlainTextEdit>(&manual, "ME_Napoveda");
    QVERIFY(text);
    QCOMPARE(text->document()->blockCount(), 52);
    for (int i = 0; i < 52; ++i)
        QCOMPARE(text->document()->findBlockByNumber(i).text(), lines.at(i));
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(!text->isReadOnly());

    manual.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manual));
    QCOMPARE(text->cursorForPosition(QPoint(2, 2)).blockNumber(), 0);
    QWidget *bottom = child(&manual, "P_Spodek");
    QCOMPARE(bottom->height(), 33);
    QCOMPARE(bottom->geometry().bottom(), manual.height() - 1);
    QCOMPARE(text->geometry(), QRect(0, 0, 655, 397 - 33));
    auto *close = child<QPushButton>(bottom, "Button1");
    QCOMPARE(close->text(), QStringLiteral("Zavřít"));
    QCOMPARE(close->geometry(), QRect(290, 4, 75, 25));
    // Edits last until the program ends; "Zavřít" only hides the window.
    text->appendPlainText(QStringLiteral("poznámka"));
    close->click();
    QVERIFY(manual.isHidden());
    QVERIFY(text->toPlainText().endsWith(QStringLiteral("poznámka")));
}

void ShellTest::aboutWindows()
{
    const QImage picture = starterPicture().toImage();
    QCOMPARE(picture.size(), QSize(377, 254));
    // Monochrome, with more than a handful of grey levels (a photograph).
    QSet<int> levels;
    for (int y = 0; y < picture.height(); y += 3) {
        for (int x = 0; x < picture.width(); x += 3) {
            const QRgb p = picture.pixel(x, y);
            QVERIFY(qAbs(qRed(p) - qGreen(p)) <= 2 && qAbs(qGreen(p) - qBlue(p)) <= 2);
            levels.insert(qGray(p));
        }
    }
    QVERIFY(levels.size() > 64);

    TAboutKalmor about;
    QCOMPARE(about.objectName(), QStringLiteral("AboutKalmor"));
    QCOMPARE(about.windowTitle(), QStringLiteral("O programu"));
    QCOMPARE(about.geometry(), QRect(461, 294, 377, 254));
    QVERIFY(about.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(child<QLabel>(&about, "Label1")->text(), QStringLiteral("Kalmor"));
    QCOMPARE(child<QLabel>(&about, "Label2")->text(), QStringLiteral("0.6"));
    QCOMPARE(child<QLabel>(&about, "Label2")->geometry(), QRect(24, 56, 329, 81));
    QCOMPARE(child<QLabel>(&about, "Label1")->font().pixelSize(), 64);
    auto *created = child<QLabel>(&about, "Label3");
    QCOMPARE(created->text(), QStringLiteral("Vytvořeno: 2. srpna 2014"));
    QCOMPARE(created->pos(), QPoint(16, 176));
    QVERIFY(created->font().bold());
    QCOMPARE(created->font().pixelSize(), 11);
    QCOMPARE(child<QLabel>(&about, "Image1")->pixmap().size(), QSize(377, 254));
    QVERIFY(about.findChildren<QAbstractButton *>().isEmpty());
}

void ShellTest::windowPlacement()
{
    // The first showing is centred exactly too; the palette and the shift
    // dialog then stay where the user moves them, the settings windows are
    // centred again.
    Application app;
    app.starter().timer()->stop();
    app.mainWindow().setGeometry(100, 80, 900, 600);
    struct Placed {
        QWidget *window;
        QRect area;
        bool keepsPlace;
    };
    const QRect splash = app.starter().geometry();
    const QRect editor = app.mainWindow().geometry();
    for (const Placed &p : {Placed{app.palette(), splash, true}, Placed{app.shiftDialog(), splash, true},
                            Placed{app.aboutStation(), editor, false}, Placed{app.panelSettings(), editor, false}}) {
        for (int showing = 0; showing < 2; ++showing) {
            p.window->show();
            if (showing > 0 && p.keepsPlace)
                QCOMPARE(p.window->geometry().topLeft(), QPoint(10, 20));
            else
                QCOMPARE(p.window->geometry().center(), p.area.center());
            // Moved as the window system moves it for the user.
            p.window->windowHandle()->setPosition(10, 20);
            QTRY_COMPARE(p.window->geometry().topLeft(), QPoint(10, 20));
            p.window->hide();
        }
    }
}

void ShellTest::splashHandsOver()
{
    Application app;
    TStarter &splash = app.starter();
    TPanelVaxel &main = app.mainWindow();
    splash.timer()->stop();
    QCOMPARE(splash.objectName(), QStringLiteral("Starter"));
    QCOMPARE(splash.windowTitle(), QStringLiteral("Kalmor - Startér"));
    QCOMPARE(splash.geometry(), QRect(444, 222, 377, 254));
    QCOMPARE(splash.gauge()->geometry(), QRect(8, 224, 361, 17));
    QCOMPARE(splash.timer()->interval(), 20);
    QVERIFY(splash.isVisible());
    const QList<QWidget *> others{&main, app.shiftDialog(), app.aboutStation(), app.manual(), app.aboutKalmor(),
                                  app.palette(), app.panelSettings(), app.panelPreview()};
    for (QWidget *w : others)
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));

    AssortmentView *mainPages = main.assortment();
    AssortmentView *palettePages = app.palette()->assortment();
    QCOMPARE(mainPages->currentWidget()->objectName(), QStringLiteral("SH_VYHYBKY1"));
    QSignalSpy mainChanges(mainPages, &AssortmentView::pageChangedByUser);
    QSignalSpy paletteChanges(palettePages, &AssortmentView::pageChangedByUser);

    for (int tick = 1; tick < 25; ++tick)
        splash.TM_StarterTimer();
    QCOMPARE(splash.gauge()->value(), 48);
    QCOMPARE(mainPages->currentWidget()->objectName(), QStringLiteral("SH_VYHYBKY1"));
    splash.TM_StarterTimer();
    QCOMPARE(splash.counter(), 50);
    QCOMPARE(mainPages->currentWidget()->objectName(), QStringLiteral("SH_PRIME"));
    QCOMPARE(palettePages->currentWidget()->objectName(), QStringLiteral("SH_PRIME"));
    // Only the page in front changed: no page-change rules ran.
    QCOMPARE(mainChanges.count(), 0);
    QCOMPARE(paletteChanges.count(), 0);
    QCOMPARE(main.selection()->currentKind(), QStringLiteral("KOL_sLSPS"));
    auto *left = child<QTabWidget>(&main, "PC_Nastaveni");
    for (int i = 0; i < 3; ++i)
        QVERIFY(left->isTabVisible(i));

    for (int tick = 26; tick < 50; ++tick)
        splash.TM_StarterTimer();
    QVERIFY(!main.isVisible());
    QVERIFY(splash.isVisible());
    splash.TM_StarterTimer();
    QCOMPARE(splash.gauge()->value(), 100);
    QVERIFY(main.isVisible());
    QVERIFY(main.windowState().testFlag(Qt::WindowMaximized));
    QVERIFY(!splash.isVisible());
    splash.TM_StarterTimer();
    QVERIFY(!splash.isVisible());
}

void ShellTest::startState()
{
    Application app;
    runSplash(app);
    TPanelVaxel &w = app.mainWindow();
    QCOMPARE(w.objectName(), QStringLiteral("PanelVaxel"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Kalmor v0.5 - Nová stanice"));
    for (const char *panel : {"P_HorniLista", "P_Sortiment", "P_Levy", "ZB_Zapati", "P_PodkladPlochy"})
        QVERIFY2(child(&w, panel)->isVisible(), panel);
    QVERIFY(!child(&w, "P_Ukazatel")->isVisible());
    QVERIFY(!app.palette()->isVisible());
    for (const char *entry : {"MP_HorniLista", "MP_Sortiment", "MP_LevyPanel", "MP_StatusPanel",
                              "MP_UkotvitPanelSortiment", "MP_InfoVykreslovani", "MP_Nahled",
                              "MP_PolickoPodKurzorem", "MP_Mrizka", "MP_Oblasti", "MP_Texty"})
        QVERIFY2(action(w, entry)->isChecked() && action(w, entry)->isEnabled(), entry);
    QVERIFY(!action(w, "Zpt2")->isEnabled());
    QVERIFY(!action(w, "MP_Znovu")->isEnabled());
    QVERIFY(!child(&w, "BB_Zpet")->isEnabled());
    QCOMPARE(w.pathPanel()->text(), QStringLiteral("(žádný soubor)"));
    QCOMPARE(w.statePanel()->text(), QStringLiteral("Nový"));
    QVERIFY(w.pathPanel()->alignment().testFlag(Qt::AlignLeft));
    QVERIFY(w.statePanel()->alignment().testFlag(Qt::AlignHCenter));
    auto *kind = child<QLabel>(&w, "L_ZvolenaSoucast");
    QVERIFY(!kind->isVisible());
    QCOMPARE(kind->text(), QStringLiteral("KOL_sLSPS"));

    // Tool bar: buttons, their places and glyphs.
    const QList<std::pair<const char *, int>> buttons{{"BB_Novy", 5},   {"BB_Ulozit", 31}, {"BB_UlozitJako", 57},
                                                       {"BB_Otevrit", 84}, {"BB_Zpet", 123},  {"BitBtn5", 150}};
    for (const auto &[name, x] : buttons) {
        auto *b = child<QToolButton>(&w, name);
        QCOMPARE(b->geometry(), QRect(x, 4, 23, 23));
        // The glyph really loads from the compiled-in resources.
        QVERIFY(!b->icon().pixmap(16, 16).isNull());
        QVERIFY(b->text().isEmpty());
        QVERIFY(!b->toolTip().isEmpty());
    }
    QCOMPARE(child(&w, "P_HorniLista")->height(), 33);
    QCOMPARE(child(&w, "P_Sortiment")->height(), 92);
    QCOMPARE(child(&w, "P_Levy")->width(), 169);
    QCOMPARE(child(&w, "ZB_Zapati")->height(), 19);
    QCOMPARE(child(&w, "B_Kotva")->size(), QSize(19, 17));
    QCOMPARE(child(child(&w, "P_Levy"), "Button1")->pos(), QPoint(149, 26));
    // Top to bottom: tool bar, assortment, then left panel and work area.
    QVERIFY(child(&w, "P_HorniLista")->y() < child(&w, "P_Sortiment")->y());
    QVERIFY(child(&w, "P_Sortiment")->geometry().bottom() < child(&w, "P_Levy")->y());
    QCOMPARE(child(&w, "P_Levy")->y(), child(&w, "P_PodkladPlochy")->y());

    // Assortment on "Přímé koleje", frame around KOL_sLSPS.
    AssortmentView *pages = w.assortment();
    QCOMPARE(pages->objectName(), QStringLiteral("PC_Sortiment"));
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("SH_PRIME"));
    QWidget *frame = child(pages, "RamecekVolby_KOL");
    QCOMPARE(frame->pos(), pages->image(QStringLiteral("KOL_sLSPS"))->pos() - QPoint(4, 4));

    // Left panel: three pages, "Popisky" in front.
    auto *left = child<QTabWidget>(&w, "PC_Nastaveni");
    QCOMPARE(left->count(), 3);
    const QStringList names{QStringLiteral("SH_DeleniKO"), QStringLiteral("SH_ZarovkyL"), QStringLiteral("SH_PopiskyL")};
    const QStringList captions{QStringLiteral("Dělení KO v rozích"), QStringLiteral("Žárovky"), QStringLiteral("Popisky")};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(left->widget(i)->objectName(), names.at(i));
        QCOMPARE(left->tabText(i), captions.at(i));
        QVERIFY(left->isTabVisible(i));
    }
    QCOMPARE(left->currentIndex(), 2);
    QVERIFY(w.renderTimer()->isRunning());
}

void ShellTest::leftPanelTabs()
{
    Application app;
    runSplash(app);
    TPanelVaxel &w = app.mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QWidget *panel = child(&w, "P_Levy");
    auto *pages = child<QTabWidget>(&w, "PC_Nastaveni");
    auto *rows = qobject_cast<WrappingTabBar *>(pages->tabBar());
    QVERIFY(rows);
    QVERIFY(rows->isVisible());
    const QRect closeButton = child(panel, "Button1")->geometry();
    const auto inPanel = [&](int i) {
        const QRect r = rows->rowTabRect(i);
        return QRect(rows->mapTo(panel, r.topLeft()), r.size());
    };

    // At start every caption is whole, inside the panel and clear of its
    // close button; the row of "Popisky", in front, is next to the page.
    QList<QRect> placed;
    for (int i = 0; i < 3; ++i) {
        const QRect r = inPanel(i);
        QVERIFY2(panel->rect().contains(r), qPrintable(pages->tabText(i)));
        QVERIFY2(!r.intersects(closeButton), qPrintable(pages->tabText(i)));
        QVERIFY(rows->rowTabRect(i).width() >= rows->fontMetrics().horizontalAdvance(pages->tabText(i)));
        QVERIFY(rows->rect().contains(rows->rowTabRect(i)));
        for (const QRect &other : placed)
            QVERIFY(!other.intersects(r));
        placed << r;
    }
    QCOMPARE(rows->rowTabRect(2).bottom(), rows->height() - 1);
    QVERIFY(pages->currentWidget()->mapTo(pages, QPoint(0, 0)).y() > rows->geometry().bottom());


    // A click on a tab brings its page forward, and its row moves down.
    QTest::mouseClick(rows, Qt::LeftButton, {}, rows->rowTabRect(0).center());
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("SH_DeleniKO"));
    QCOMPARE(rows->rowTabRect(0).bottom(), rows->height() - 1);
    for (int i = 0; i < 3; ++i)
        QVERIFY(!inPanel(i).intersects(closeButton) && panel->rect().contains(inPanel(i)));
    QTest::mouseClick(rows, Qt::LeftButton, {}, rows->rowTabRect(1).center());
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("SH_ZarovkyL"));

    // The element selection hides tabs: hidden ones take no place, and the
    // bar shrinks to the one row left.
    w.assortment()->setCurrentIndex(4);
    QVERIFY(!pages->isTabVisible(0) && pages->isTabVisible(1) && !pages->isTabVisible(2));
    QVERIFY(rows->rowTabRect(0).isNull() && rows->rowTabRect(2).isNull());
    QCOMPARE(rows->rowTabRect(1).topLeft(), QPoint(0, 0));
    QTRY_COMPARE(rows->height(), rows->rowTabRect(1).height());
    QVERIFY(!inPanel(1).intersects(closeButton));
    w.assortment()->setCurrentIndex(0);
    QVERIFY(pages->isTabVisible(0) && !pages->isTabVisible(1) && !pages->isTabVisible(2));
    QTRY_COMPARE(rows->height(), rows->rowTabRect(0).height());
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("SH_DeleniKO"));
    QVERIFY(!inPanel(0).intersects(closeButton));

    // A page of desk elements: only the plates' page, where their
    // designation is typed.
    w.assortment()->setCurrentWidget(child(w.assortment(), "TabSheet2"));
    for (int i = 0; i < 2; ++i)
        QVERIFY(!pages->isTabVisible(i) && rows->rowTabRect(i).isNull());
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("SH_PopiskyL"));
    QVERIFY(pages->currentWidget()->isVisible());
    QCOMPARE(w.selection()->currentKind(), QStringLiteral("TLA_VC"));
    w.assortment()->setCurrentIndex(4);
    QVERIFY(pages->currentWidget()->isVisible());
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("SH_ZarovkyL"));
}

void ShellTest::menuTable()
{
    StationDocument doc;
    TPanelVaxel w(doc);
    struct Row {
        const char *name;
        const char *parent;
        QString caption;
        QKeySequence shortcut;
    };
    const QList<Row> rows{
        {"MP_Novy", "MS_Soubor", QStringLiteral("Nový"), QKeySequence(QStringLiteral("Ctrl+N"))},
        {"MP_Otevreni", "MS_Soubor", QStringLiteral("Otevřít"), QKeySequence(QStringLiteral("Ctrl+O"))},
        {"MP_OtevritUkazku", "MS_Soubor", QStringLiteral("Otevřít ukázku"), {}},
        {"MP_Ulozeni", "MS_Soubor", QStringLiteral("Uložit"), QKeySequence(QStringLiteral("Ctrl+S"))},
        {"MP_UlozitJako", "MS_Soubor", QStringLiteral("Uložit jako ..."), QKeySequence(QStringLiteral("Ctrl+Shift+S"))},
        {"N6", "MS_Soubor", QString(), {}},
        {"MP_Export", "MS_Soubor", QStringLiteral("Exportovat obrázek ..."), {}},
        {"MP_ExportKusovniku", "MS_Soubor", QStringLiteral("Exportovat kusovník ..."), {}},
        {"MP_Tisk", "MS_Soubor", QStringLiteral("Tisk ..."), QKeySequence(QStringLiteral("Ctrl+P"))},
        {"N1", "MS_Soubor", QString(), {}},
        {"Konec1", "MS_Soubor", QStringLiteral("Konec"), {}},
        {"Zpt2", "MS_Upravy", QStringLiteral("Zpět"), QKeySequence(QStringLiteral("Ctrl+Z"))},
        {"MP_Znovu", "MS_Upravy", QStringLiteral("Znovu"), QKeySequence(QStringLiteral("Ctrl+Y"))},
        {"N3", "MS_Upravy", QString(), {}},
        {"Posunoutvechnyprvky1", "MS_Upravy", QStringLiteral("Posunout všechny prvky"), {}},
        {"Zpt1", "Posunoutvechnyprvky1", QStringLiteral("Posunout vše <"), QKeySequence(QStringLiteral("Ctrl+Left"))},
        {"Posunoutve1", "Posunoutvechnyprvky1", QStringLiteral("Posunout vše >"), QKeySequence(QStringLiteral("Ctrl+Right"))},
        {"PosunoutveV1", "Posunoutvechnyprvky1", QStringLiteral("Posunout vše V"), QKeySequence(QStringLiteral("Ctrl+Down"))},
        {"Posunoutve2", "Posunoutvechnyprvky1", QStringLiteral("Posunout vše ^"), QKeySequence(QStringLiteral("Ctrl+Up"))},
        {"N4", "Posunoutvechnyprvky1", QString(), {}},
        {"MP_PosunoutVseO", "Posunoutvechnyprvky1", QStringLiteral("Posunout vše o ..."), {}},
        {"N7", "MS_Upravy", QString(), {}},
        {"MP_Vyjmout", "MS_Upravy", QStringLiteral("Vyjmout"), QKeySequence(QStringLiteral("Ctrl+X"))},
        {"MP_Kopirovat", "MS_Upravy", QStringLiteral("Kopírovat"), QKeySequence(QStringLiteral("Ctrl+C"))},
        {"MP_Vlozit", "MS_Upravy", QStringLiteral("Vložit"), QKeySequence(QStringLiteral("Ctrl+V"))},
        {"MP_Smazat", "MS_Upravy", QStringLiteral("Smazat"), QKeySequence(QStringLiteral("Del"))},
        {"MP_VybratVse", "MS_Upravy", QStringLiteral("Vybrat vše"), QKeySequence(QStringLiteral("Ctrl+A"))},
        {"MP_ZrcadlitVodorovne", "MS_Upravy", QStringLiteral("Zrcadlit vodorovně"), {}},
        {"MP_ZrcadlitSvisle", "MS_Upravy", QStringLiteral("Zrcadlit svisle"), {}},
        {"N8", "MS_Upravy", QString(), {}},
        {"MP_Najit", "MS_Upravy", QStringLiteral("Najít ..."), QKeySequence(QStringLiteral("Ctrl+F"))},
        {"MP_KontrolaPanelu", "MS_Upravy", QStringLiteral("Kontrola panelu"), QKeySequence(QStringLiteral("F7"))},
        {"OStanici1", "MS_Nastaveni", QStringLiteral("Informace o stanici"), {}},
        {"Panel1", "MS_Nastaveni", QStringLiteral("Panel Vaxel"), {}},
        {"Vstupnvstupnbody1", "MS_Nastaveni", QStringLiteral("Vstupní/výstupní body"), {}},
        {"Oblasti1", "MS_Nastaveni", QStringLiteral("Oblasti"), {}},
        {"PanelVaxel1", "MS_Zobrazit", QStringLiteral("Panel Vaxel"), {}},
        {"MP_InfoVykreslovani", "PanelVaxel1", QStringLiteral("<Informace o vykreslování>"), {}},
        {"MP_Nahled", "PanelVaxel1", QStringLiteral("Náhled vkládaného prvku"), {}},
        {"MP_PolickoPodKurzorem", "PanelVaxel1", QStringLiteral("Políčko pod kurzorem"), {}},
        {"MP_Mrizka", "PanelVaxel1", QStringLiteral("Mřížka"), QKeySequence(QStringLiteral("Ctrl+G"))},
        {"MP_KolejoveObvody", "PanelVaxel1", QStringLiteral("Kolejové obvody"), QKeySequence(QStringLiteral("Ctrl+K"))},
        {"MP_Oblasti", "PanelVaxel1", QStringLiteral("Oblasti"), {}},
        {"MP_Texty", "PanelVaxel1", QStringLiteral("Texty"), {}},
        {"MS_NahledPanelu", "PanelVaxel1", QStringLiteral("Náhled panelu"), QKeySequence(QStringLiteral("F9"))},
        {"Panelynstroj1", "MS_Zobrazit", QStringLiteral("Panely nástrojů"), {}},
        {"MP_HorniLista", "Panelynstroj1", QStringLiteral("Horní lišta"), {}},
        {"MP_Sortiment", "Panelynstroj1", QStringLiteral("Sortiment prvků"), {}},
        {"MP_LevyPanel", "Panelynstroj1", QStringLiteral("Levý panel podrobností"), {}},
        {"MP_StatusPanel", "Panelynstroj1", QStringLiteral("Status panel"), {}},
        {"N2", "Panelynstroj1", QString(), {}},
        {"MP_SkrytVsechnyPanely", "Panelynstroj1", QStringLiteral("Skrýt všechny"), QKeySequence(QStringLiteral("F2"))},
        {"MP_ZobrazitVsechnyPanely", "Panelynstroj1", QStringLiteral("Zobrazit všechny"), QKeySequence(QStringLiteral("F3"))},
        {"N5", "MS_Zobrazit", QString(), {}},
        {"MP_UkotvitPanelSortiment", "MS_Zobrazit", QStringLiteral("Ukotvit panel součástí"), {}},
        {"MP_Prirucka", "MS_Napoveda", QStringLiteral("Příručka"), QKeySequence(QStringLiteral("F1"))},
        {"Manul1", "MS_Napoveda", QStringLiteral("Manuál"), {}},
        {"Oprogramu1", "MS_Napoveda", QStringLiteral("O programu"), {}},
    };
    // Each menu lists exactly these entries, in this order.
    QHash<QString, QStringList> expected;
    for (const Row &r : rows)
        expected[QLatin1String(r.parent)] << QLatin1String(r.name);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        auto *menu = child<QMenu>(&w, qPrintable(it.key()));
        QVERIFY(menu);
        QStringList actual;
        for (const QAction *a : menu->actions())
            actual << a->objectName();
        QCOMPARE(actual, it.value());
    }
    for (const Row &r : rows) {
        const QAction *a = nullptr;
        for (QAction *candidate : child<QMenu>(&w, r.parent)->actions())
            if (candidate->objectName() == QLatin1String(r.name))
                a = candidate;
        QVERIFY(a);
        QCOMPARE(a->isSeparator(), r.caption.isEmpty());
        if (!a->isSeparator())
            QCOMPARE(a->text(), r.caption);
        QCOMPARE(a->shortcut(), r.shortcut);
    }
    QStringList sections;
    for (const QAction *a : w.menuBar()->actions())
        sections << a->text();
    QCOMPARE(sections, (QStringList{QStringLiteral("Soubor"), QStringLiteral("Úpravy"), QStringLiteral("Nastavení"),
                                    QStringLiteral("Zobrazit"), QStringLiteral("Nápověda")}));
    QCOMPARE(w.menuBar()->objectName(), QStringLiteral("MM_Menu"));
    for (const char *withGlyph : {"MP_Novy", "MP_Otevreni", "MP_Ulozeni", "MP_UlozitJako", "Zpt2", "MP_Znovu"})
        QVERIFY2(!action(w, withGlyph)->icon().isNull(), withGlyph);
    QVERIFY(action(w, "Konec1")->icon().isNull());
}

void ShellTest::fileDialogs()
{
    QWidget owner;
    QtPrompts prompts(&owner);
    QFileDialog *save = prompts.saveDialog();
    QFileDialog *open = prompts.openDialog();
    QCOMPARE(save->objectName(), QStringLiteral("Ulozit"));
    QCOMPARE(open->objectName(), QStringLiteral("Otevrit"));
    for (QFileDialog *d : {save, open}) {
        QCOMPARE(d->nameFilters(), QStringList{QStringLiteral("Stanice Kalmor (*.stvx)")});
        QCOMPARE(d->defaultSuffix(), QStringLiteral("stvx"));
        QVERIFY(d->testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(d->fileMode(), QFileDialog::AnyFile);
    }
    QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);

    QTemporaryDir dir;
    save->setDirectory(dir.path());
    whenModal([](QWidget *modal) {
        auto *d = qobject_cast<QFileDialog *>(modal);
        QVERIFY(d);
        d->selectFile(QStringLiteral("nadrazi"));
        static_cast<QDialog *>(d)->accept();
    });
    const std::optional<QString> chosen = prompts.chooseSavePath();
    QVERIFY(chosen);
    // The extension of the filter and the file type, in its letter case.
    QCOMPARE(*chosen, dir.filePath(QStringLiteral("nadrazi.stvx")));

    // The next use offers the name chosen last; Cancel gives nothing.
    QString offered;
    whenModal([&offered](QWidget *modal) {
        auto *d = qobject_cast<QFileDialog *>(modal);
        offered = d->selectedFiles().value(0);
        d->reject();
    });
    QVERIFY(!prompts.chooseSavePath());
    QCOMPARE(offered, dir.filePath(QStringLiteral("nadrazi.stvx")));

    // Yes/No questions with Qt's Czech buttons.
    QString yesText;
    whenModal([&yesText](QWidget *modal) {
        yesText = qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Yes)->text();
        clickBoxButton(modal, QMessageBox::Yes);
    });
    QVERIFY(prompts.ask(QStringLiteral("Zahodit neuložené změny?")));
    QCOMPARE(yesText.remove(QLatin1Char('&')), QStringLiteral("Ano"));
    whenModal([](QWidget *modal) { clickBoxButton(modal, QMessageBox::No); });
    QVERIFY(!prompts.ask(QStringLiteral("Zahodit neuložené změny?")));

    // The colour dialog opens on the given colour (0x00BBGGRR) and answers in the same form.
    QColor shownFirst;
    whenModal([&shownFirst](QWidget *modal) {
        auto *d = qobject_cast<QColorDialog *>(modal);
        QVERIFY(d);
        shownFirst = d->currentColor();
        d->setCurrentColor(QColor(10, 20, 30));
        d->accept();
    });
    QCOMPARE(prompts.chooseColour(0x00336699), std::optional<Colour>(rgbColour(10, 20, 30)));
    QCOMPARE(shownFirst, QColor(0x99, 0x66, 0x33));
    whenModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    QCOMPARE(prompts.chooseColour(clGray), std::nullopt);
}

void ShellTest::shiftShortcutsWinOverFields()
{
    // A focused spin edit takes Ctrl+Left / Ctrl+Right as word movement
    // unless the shift entries win.
    StationDocument doc;
    TPanelVaxel w(doc);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    TPolePanelu t;
    t.X = 5;
    t.Y = 5;
    t.NAME = QStringLiteral("KOL_sLSPS");
    doc.tiles().append(t);
    child<QTabWidget>(&w, "PC_Nastaveni")->setCurrentIndex(1);
    auto *field = child<QAbstractSpinBox>(&w, "SE_ZAR_OdsazeniX");
    auto *editor = field->findChild<QLineEdit *>();
    field->setFocus();
    QVERIFY(editor->hasFocus());
    editor->setCursorPosition(1);
    const QList<std::pair<Qt::Key, QPoint>> keys{
        {Qt::Key_Right, {6, 5}}, {Qt::Key_Down, {6, 6}}, {Qt::Key_Left, {5, 6}}, {Qt::Key_Up, {5, 5}}};
    for (const auto &[key, cell] : keys) {
        QTest::keyClick(editor, key, Qt::ControlModifier);
        QCOMPARE(QPoint(doc.tiles().at(0).X, doc.tiles().at(0).Y), cell);
    }
    QVERIFY(editor->hasFocus());
    QCOMPARE(editor->cursorPosition(), 1);
    // Other keys still reach the field.
    QTest::keyClick(editor, Qt::Key_Left);
    QCOMPARE(editor->cursorPosition(), 0);
    // With the caret at 0, Ctrl+K would delete the field's text unless the
    // track circuit switch wins.
    QTest::keyClick(editor, Qt::Key_K, Qt::ControlModifier);
    QVERIFY(action(w, "MP_KolejoveObvody")->isChecked());
    QCOMPARE(field->text(), QStringLiteral("0"));
}

QTEST_MAIN(ShellTest)
#include "test_shell.moc"
