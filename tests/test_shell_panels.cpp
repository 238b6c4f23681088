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
#include "support/IndexProbe.h"
#include "support/ShellTestSupport.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAbstractItemView>
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

class ShellPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void resizeRule();
    void hideAndShowAllDocked();
    void undockedPaletteSequences();
    void closeButtonsAndAssortmentEntry();
    void progressStripAndSections();
    void viewSwitchesAndShift();
    void undoAndRedoEntries();
    void selectionKeysAndWheel();
    void closingEndsProgram();
};

void ShellPanelsTest::initTestCase()
{
    setUpShellSuite();
}

void ShellPanelsTest::resizeRule()
{
    StationDocument doc;
    TPanelVaxel w(doc);
    w.resize(888, 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.width(), 888);
    QCOMPARE(child(&w, "B_ZavritPanelNastroju")->x(), 870);
    QCOMPARE(child(&w, "B_ZavritPanelSortiment")->x(), 870);
    QCOMPARE(child(&w, "B_Kotva")->x(), 849);
    QCOMPARE(w.pathPanel()->geometry(), QRect(0, 0, 788, 19));
    QCOMPARE(w.statePanel()->geometry(), QRect(788, 0, 100, 19));

    w.resize(1000, 700);
    QTRY_COMPARE(w.width(), 1000);
    QCOMPARE(child(&w, "B_ZavritPanelNastroju")->geometry().right(), 1000 - 2);
    QCOMPARE(child(&w, "B_Kotva")->x(), 1000 - 18 - 17 - 4);
    QCOMPARE(w.statePanel()->geometry().right(), 999);
    // The scroll bars follow the visible part of the surface.
    QTRY_COMPARE(w.viewport().visibleArea(), w.workArea()->clipPanel()->size());
    QCOMPARE(w.viewport().horizontal().maximum, 4800 - w.workArea()->clipPanel()->width());
}

void ShellPanelsTest::hideAndShowAllDocked()
{
    Application app;
    runSplash(app);
    TPanelVaxel &w = app.mainWindow();
    const QList<const char *> panels{"P_HorniLista", "P_Sortiment", "P_Levy", "ZB_Zapati"};
    const QList<const char *> entries{"MP_HorniLista", "MP_Sortiment", "MP_LevyPanel", "MP_StatusPanel"};

    // The user changed page and kind before; the synchronisation resets both.
    w.assortment()->setCurrentIndex(4);
    QCOMPARE(w.selection()->currentKind(), QStringLiteral("ZAR_CE_ZH"));

    action(w, "MP_SkrytVsechnyPanely")->trigger();
    for (int i = 0; i < panels.size(); ++i) {
        QVERIFY(!shown(child(&w, panels[i])));
        QVERIFY(!action(w, entries[i])->isChecked());
    }
    QVERIFY(shown(child(&w, "P_PodkladPlochy")));
    QCOMPARE(w.selection()->currentKind(), QStringLiteral("KOL_sLSPS"));
    QVERIFY(action(w, "MP_UkotvitPanelSortiment")->isChecked());
    QVERIFY(action(w, "MP_UkotvitPanelSortiment")->isEnabled());

    action(w, "MP_ZobrazitVsechnyPanely")->trigger();
    for (int i = 0; i < panels.size(); ++i) {
        QVERIFY(child(&w, panels[i])->isVisible());
        QVERIFY(action(w, entries[i])->isChecked());
    }
    QVERIFY(!app.palette()->isVisible());
    QCOMPARE(w.assortment()->currentWidget()->objectName(), QStringLiteral("SH_PRIME"));
}

void ShellPanelsTest::undockedPaletteSequences()
{
    Application app;
    runSplash(app);
    TPanelVaxel &w = app.mainWindow();
    TPaleta *palette = app.palette();
    QAction *dock = action(w, "MP_UkotvitPanelSortiment");
    QAction *assortment = action(w, "MP_Sortiment");
    QSignalSpy closes(palette, &TPaleta::closed);

    // Undock with the main window's anchor while "Žárovky" is in front.
    w.assortment()->setCurrentIndex(4);
    qobject_cast<QToolButton *>(child(&w, "B_Kotva"))->click();
    QVERIFY(palette->isVisible());
    QVERIFY(!shown(child(&w, "P_Sortiment")));
    QVERIFY(!dock->isChecked());
    QCOMPARE(palette->assortment()->currentWidget()->objectName(), QStringLiteral("SH_PRIME"));
    QCOMPARE(w.selection()->currentKind(), QStringLiteral("KOL_sLSPS"));
    auto *left = child<QTabWidget>(&w, "PC_Nastaveni");
    QVERIFY(left->isTabVisible(1) && !left->isTabVisible(0));

    // F2 closes the palette; its close reaction disables docking.
    action(w, "MP_SkrytVsechnyPanely")->trigger();
    QVERIFY(!palette->isVisible());
    QCOMPARE(closes.count(), 1);
    QVERIFY(!dock->isEnabled());
    QVERIFY(!assortment->isChecked());

    // F3 shows the palette again; docked assortment stays hidden, docking disabled.
    action(w, "MP_ZobrazitVsechnyPanely")->trigger();
    QVERIFY(palette->isVisible());
    QVERIFY(!shown(child(&w, "P_Sortiment")));
    QVERIFY(!dock->isEnabled());
    QVERIFY(assortment->isChecked());

    // "Sortiment prvků" off hides the palette without its close reaction, on again enables docking.
    assortment->trigger();
    QVERIFY(!palette->isVisible());
    QCOMPARE(closes.count(), 1);
    QVERIFY(!dock->isEnabled());
    assortment->trigger();
    QVERIFY(palette->isVisible());
    QVERIFY(dock->isEnabled());

    // Docking through the menu entry closes the palette and shows the panel.
    dock->trigger();
    QVERIFY(dock->isChecked());
    QVERIFY(!palette->isVisible());
    QCOMPARE(closes.count(), 2);
    QVERIFY(shown(child(&w, "P_Sortiment")));

    // Undocking through the menu entry shows the palette again.
    dock->setEnabled(true);
    dock->trigger();
    QVERIFY(!dock->isChecked());
    QVERIFY(palette->isVisible());
    QVERIFY(!shown(child(&w, "P_Sortiment")));

    // The palette's own anchor docks again.
    palette->anchorButton()->click();
    QVERIFY(!palette->isVisible());
    QVERIFY(shown(child(&w, "P_Sortiment")));
    QVERIFY(assortment->isChecked() && dock->isChecked());
    QVERIFY(!dock->isEnabled());
}

void ShellPanelsTest::closeButtonsAndAssortmentEntry()
{
    Application app;
    runSplash(app);
    TPanelVaxel &w = app.mainWindow();
    QAction *dock = action(w, "MP_UkotvitPanelSortiment");
    w.assortment()->setCurrentIndex(5);
    const QString kindBefore = w.selection()->currentKind();

    qobject_cast<QPushButton *>(child(&w, "B_ZavritPanelSortiment"))->click();
    QVERIFY(!shown(child(&w, "P_Sortiment")));
    QVERIFY(!action(w, "MP_Sortiment")->isChecked());
    QVERIFY(dock->isChecked() && dock->isEnabled());
    // No synchronisation from the close buttons.
    QCOMPARE(w.selection()->currentKind(), kindBefore);

    qobject_cast<QPushButton *>(child(&w, "B_ZavritPanelNastroju"))->click();
    QVERIFY(!shown(child(&w, "P_HorniLista")));
    QVERIFY(!action(w, "MP_HorniLista")->isChecked());
    qobject_cast<QPushButton *>(child(child(&w, "P_Levy"), "Button1"))->click();
    QVERIFY(!shown(child(&w, "P_Levy")));
    QVERIFY(!action(w, "MP_LevyPanel")->isChecked());

    action(w, "MP_Sortiment")->trigger();
    QVERIFY(shown(child(&w, "P_Sortiment")));
    QVERIFY(dock->isEnabled());
    action(w, "MP_Sortiment")->trigger();
    QVERIFY(!shown(child(&w, "P_Sortiment")));
    QVERIFY(!dock->isEnabled());

    action(w, "MP_HorniLista")->trigger();
    QVERIFY(shown(child(&w, "P_HorniLista")));
    action(w, "MP_StatusPanel")->trigger();
    QVERIFY(!shown(child(&w, "ZB_Zapati")));
    QCOMPARE(w.statePanel()->text(), QStringLiteral("Nový"));

    // The wiring windows open together: the second does not hide the first
    // one's title bar.
    action(w, "Vstupnvstupnbody1")->trigger();
    action(w, "Oblasti1")->trigger();
    QVERIFY(child<QWidget>(&w, "VstupniVystupniBody")->geometry().top()
            < child<QWidget>(&w, "Oblasti")->geometry().top());
    // The wiring windows stand beside the panel as tool windows; Ctrl+A in
    // their tables selects rows, not the panel; Esc closes them.
    for (const auto &[entry, name] : {std::pair("Vstupnvstupnbody1", "VstupniVystupniBody"), std::pair("Oblasti1", "Oblasti")}) {
        action(w, entry)->trigger();
        auto *tool = child<QWidget>(&w, name);
        QVERIFY2(tool->isVisible() && tool->isWindow() && !tool->isModal(), name);
        QVERIFY(QTest::qWaitForWindowActive(tool));
        auto *table = tool->findChild<QAbstractItemView *>();
        table->setFocus();
        QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
        QVERIFY2(w.panelSelection()->isEmpty(), name);
        QTest::keyClick(tool->focusWidget() ? tool->focusWidget() : tool, Qt::Key_Escape);
        QVERIFY2(!tool->isVisible(), name);
    }
}

void ShellPanelsTest::progressStripAndSections()
{
    Application app;
    runSplash(app);
    TPanelVaxel &w = app.mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *bar = child<QProgressBar>(&w, "PB_Ukazatel");
    w.showProgress(QStringLiteral("Ukládání souboru: /tmp/a.stvx"), 2999);
    QVERIFY(child(&w, "P_Ukazatel")->isVisible());
    QCOMPARE(child<QLabel>(&w, "L_Prubeh")->text(), QStringLiteral("Ukládání souboru: /tmp/a.stvx"));
    QCOMPARE(bar->maximum(), 2999);
    QCOMPARE(bar->value(), 0);
    for (int i = 0; i < 3000; ++i)
        w.stepProgress();
    QCOMPARE(w.progressSteps(), 3000);
    QCOMPARE(bar->value(), 2999);
    w.hideProgress();
    QVERIFY(!child(&w, "P_Ukazatel")->isVisible());

    // A disabled section takes its shortcuts with it.
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.setMenuSectionEnabled(MenuSection::MS_Zobrazit, false);
    QVERIFY(!child<QMenu>(&w, "MS_Zobrazit")->menuAction()->isEnabled());
    QTest::keyClick(&w, Qt::Key_F2);
    QVERIFY(shown(child(&w, "P_HorniLista")));
    w.setMenuSectionEnabled(MenuSection::MS_Zobrazit, true);
    QTest::keyClick(&w, Qt::Key_F2);
    QVERIFY(!shown(child(&w, "P_HorniLista")));
    QTest::keyClick(&w, Qt::Key_F3);
    QVERIFY(shown(child(&w, "P_HorniLista")));

    // The whole save sequence through the window: panels back, status saved.
    QTemporaryDir dir;
    app.document().tiles().append(TPolePanelu{2, 3, false, true, false, false, false, false, true, false,
                                              QStringLiteral("KOL_sLSPS")});
    app.document().markModified();
    QVERIFY(w.lifecycle()->saveTo(dir.filePath(QStringLiteral("a.stvx"))));
    QCOMPARE(w.statePanel()->text(), QStringLiteral("Uloženo"));
    QCOMPARE(w.pathPanel()->text(), dir.filePath(QStringLiteral("a.stvx")));
    QCOMPARE(w.windowTitle(), QStringLiteral("a.stvx - Kalmor v0.5"));
    QVERIFY(shown(child(&w, "P_HorniLista")) && shown(child(&w, "ZB_Zapati")));
    for (MenuSection s : MenuSectionOrder)
        QVERIFY(w.menu().section(s)->menuAction()->isEnabled());
    QVERIFY(!w.pointerInput()->isLocked());
}

void ShellPanelsTest::viewSwitchesAndShift()
{
    StationDocument doc;
    TPanelVaxel w(doc);
    X_Plocha *surface = w.surface();
    action(w, "MP_Mrizka")->trigger();
    action(w, "MP_Nahled")->trigger();
    QVERIFY(!surface->switches().grid && !surface->switches().preview);
    QVERIFY(surface->switches().diagnostics && surface->switches().cursorFrame);
    action(w, "MP_InfoVykreslovani")->trigger();
    action(w, "MP_PolickoPodKurzorem")->trigger();
    action(w, "MP_Mrizka")->trigger();
    QVERIFY(!surface->switches().diagnostics && !surface->switches().cursorFrame && surface->switches().grid);
    // The track circuits start hidden; the check window is a tool window.
    QAction *circuits = action(w, "MP_KolejoveObvody");
    QVERIFY(circuits->isCheckable() && !circuits->isChecked() && !surface->switches().trackCircuits);
    QCOMPARE(circuits->shortcutContext(), Qt::WindowShortcut);
    circuits->trigger();
    QVERIFY(surface->switches().trackCircuits);
    action(w, "MP_KontrolaPanelu")->trigger();
    auto *check = child<QWidget>(&w, "LayoutCheckWindow");
    QVERIFY(check->isVisible() && check->isWindow() && !check->isModal());
    check->close();
    // Plate texts are shown until "Texty" is cleared; "Najít ..." is a
    // tool window too.
    QVERIFY(surface->switches().texts);
    action(w, "MP_Texty")->trigger();
    QVERIFY(!surface->switches().texts && !w.currentPicture().texts);
    doc.plates().append({QStringLiteral("STI_Cely_Dole"), 2, 1, QStringLiteral("Kolej 1")});
    doc.plates().append({QStringLiteral("STI_Cely_Dole"), 6, 3, QStringLiteral("kolej 2")});
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    action(w, "MP_Najit")->trigger();
    auto *find = child<QWidget>(&w, "FindWindow");
    QVERIFY(find->isVisible() && find->isWindow() && !find->isModal());
    QVERIFY(QTest::qWaitForWindowActive(find));
    // Enter goes to the first hit; F3, which is "Zobrazit všechny" in the
    // main window, to the next one in this window.
    auto *field = child<QLineEdit>(find, "E_Hledat");
    QTest::keyClicks(field, QStringLiteral("kolej"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(w.pointerInput()->cursorCell(), QPoint(2, 1));
    QTest::keyClick(field, Qt::Key_F3);
    QCOMPARE(w.pointerInput()->cursorCell(), QPoint(6, 3));
    find->close();
    w.pointerInput()->setCursorCell(QPoint(0, 0));

    // The frames read the editing controls.
    const EditingView start = surface->editingView();
    QCOMPARE(start.currentKind, QStringLiteral("KOL_sLSPS"));
    QCOMPARE(start.cursorColumn, 0);
    QCOMPARE(start.cornerChecks, (std::array<bool, 4>{false, false, false, false}));
    emit surface->mouseMoved(3 * 47 + 5, 2 * 47 + 1);
    QCOMPARE(surface->editingView().cursorColumn, 3);
    QCOMPARE(surface->editingView().cursorRow, 2);

    // Placing with the pointer and shifting with the menu.
    emit surface->mousePressed(Qt::LeftButton, 3 * 47 + 5, 2 * 47 + 1);
    emit surface->mouseReleased(Qt::LeftButton, 3 * 47 + 5, 2 * 47 + 1);
    QCOMPARE(doc.tiles().count(), 1);
    QCOMPARE(w.statePanel()->text(), QStringLiteral("Upraveno"));
    action(w, "Posunoutve1")->trigger();
    action(w, "PosunoutveV1")->trigger();
    QCOMPARE(doc.tiles().at(0).X, 4);
    QCOMPARE(doc.tiles().at(0).Y, 3);
    action(w, "Zpt1")->trigger();
    action(w, "Posunoutve2")->trigger();
    QCOMPARE(doc.tiles().at(0).X, 3);
    QCOMPARE(doc.tiles().at(0).Y, 2);
    // While a save writes, the pointer changes nothing.
    w.setEditingLocked(true);
    emit surface->mousePressed(Qt::LeftButton, 10 * 47, 1);
    emit surface->mouseReleased(Qt::LeftButton, 10 * 47, 1);
    QCOMPARE(doc.tiles().count(), 1);
}

void ShellPanelsTest::undoAndRedoEntries()
{
    StationDocument doc;
    TPanelVaxel w(doc);
    QAction *undo = action(w, "Zpt2");
    QAction *redo = action(w, "MP_Znovu");
    auto *button = child<QToolButton>(&w, "BB_Zpet");
    auto *redoButton = child<QToolButton>(&w, "BitBtn5");
    const auto enabled = [&] {
        return QList<bool>{undo->isEnabled(), button->isEnabled(), redo->isEnabled(), redoButton->isEnabled()};
    };
    const auto click = [&w](int column) {
        emit w.surface()->mouseMoved(column * 47 + 5, 5);
        emit w.surface()->mousePressed(Qt::LeftButton, column * 47 + 5, 5);
        emit w.surface()->mouseReleased(Qt::LeftButton, column * 47 + 5, 5);
    };
    QCOMPARE(redo->shortcuts(), (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                                     QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    QCOMPARE(redo->shortcutContext(), Qt::WindowShortcut);
    QCOMPARE(enabled(), (QList<bool>{false, false, false, false}));

    click(0);
    QCOMPARE(enabled(), (QList<bool>{true, true, false, false}));
    QCOMPARE(button->toolTip(), QStringLiteral("Zpět: Vložení prvku"));
    action(w, "Posunoutve1")->trigger();
    QCOMPARE(undo->statusTip(), QStringLiteral("Zpět: Posunutí všech prvků"));
    button->click();
    QCOMPARE(doc.tiles().at(0).X, 0);
    QCOMPARE(redo->statusTip(), QStringLiteral("Znovu: Posunutí všech prvků"));
    undo->trigger();
    QVERIFY(doc.tiles().isEmpty());
    // Back at the state of the new station: its status, and no question.
    QCOMPARE(w.statePanel()->text(), QStringLiteral("Nový"));
    QCOMPARE(enabled(), (QList<bool>{false, false, true, true}));
    QCOMPARE(redoButton->toolTip(), QStringLiteral("Znovu: Vložení prvku"));
    redoButton->click();
    QCOMPARE(doc.tiles().count(), 1);
    QCOMPARE(w.statePanel()->text(), QStringLiteral("Upraveno"));
    QCOMPARE(enabled(), (QList<bool>{true, true, true, true}));
    // A new gesture drops what could be redone.
    click(2);
    QCOMPARE(enabled(), (QList<bool>{true, true, false, false}));

    // Saving keeps the steps; New empties them.
    QTemporaryDir dir;
    QVERIFY(w.lifecycle()->saveTo(dir.filePath(QStringLiteral("u.stvx"))));
    QVERIFY(undo->isEnabled());
    QVERIFY(w.lifecycle()->newStation());
    QCOMPARE(enabled(), (QList<bool>{false, false, false, false}));
}

void ShellPanelsTest::selectionKeysAndWheel()
{
    Application app;
    runSplash(app);
    TPanelVaxel &w = app.mainWindow();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    StationDocument &doc = app.document();
    X_Plocha *surface = w.surface();
    const auto entries = [&w] {
        QList<bool> on;
        for (const char *name : {"MP_Vyjmout", "MP_Kopirovat", "MP_Smazat", "MP_ZrcadlitVodorovne", "MP_ZrcadlitSvisle"})
            on << action(w, name)->isEnabled();
        return on;
    };
    QCOMPARE(entries(), QList<bool>(5, false));
    doc.tiles().append(TPolePanelu{1, 1, {}, {}, {}, {}, {}, {}, {}, {}, QStringLiteral("KOL_sLSPS")});

    // With the panel focused the keys act on the selection.
    surface->setFocus();
    QTest::keyClick(surface, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w.panelSelection()->area(), (CellRect{0, 0, 149, 49}));
    QCOMPARE(entries(), QList<bool>(5, true));
    QCOMPARE(surface->editingView().selection, w.panelSelection()->area());
    w.panelSelection()->selectCells({1, 1}, {2, 2});
    // The cell index follows a command as it ends, not in the next frame;
    // a change made outside the history waits for the frame.
    surface->repaint();
    doc.tiles().replace(0, TPolePanelu(doc.tiles().at(0)));
    QVERIFY(!IndexProbe::followed(*surface));
    QTest::keyClick(surface, Qt::Key_Right);
    QVERIFY(IndexProbe::followed(*surface));
    QTest::keyClick(surface, Qt::Key_Down);
    QCOMPARE(QPoint(doc.tiles().at(0).X, doc.tiles().at(0).Y), QPoint(2, 2));
    QCOMPARE(w.panelSelection()->area(), (CellRect{2, 2, 3, 3}));
    QTest::keyClick(surface, Qt::Key_Right, Qt::ControlModifier);  // still shifts everything
    QCOMPARE(doc.tiles().at(0).X, 3);
    QTest::keyClick(surface, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("PRUSVITKA;X=1;Y=0;")));
    QVERIFY(action(w, "MP_Vlozit")->isEnabled());
    QTest::keyClick(surface, Qt::Key_Escape);
    QVERIFY(w.panelSelection()->isEmpty());
    QCOMPARE(entries(), QList<bool>(5, false));

    // A focused spin field keeps Ctrl+A, Ctrl+C and Del for its text.
    w.panelSelection()->selectCells({0, 0}, {9, 9});
    auto *pages = child<QTabWidget>(&w, "PC_Nastaveni");
    pages->setCurrentWidget(child(&w, "SH_ZarovkyL"));
    auto *offset = child<QSpinBox>(&w, "SE_ZAR_OdsazeniX");
    offset->setValue(12);
    offset->setFocus();
    QVERIFY(offset->hasFocus());
    QTest::keyClick(offset, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(offset, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("12"));
    QTest::keyClick(offset, Qt::Key_Delete);
    QCOMPARE(doc.tiles().count(), 1);
    QCOMPARE(offset->text(), QStringLiteral("0"));
    surface->setFocus();
    QTest::keyClick(surface, Qt::Key_Delete);
    QVERIFY(doc.tiles().isEmpty());

    // Kept over a save, gone with New.
    doc.tiles().append(TPolePanelu{4, 4, {}, {}, {}, {}, {}, {}, {}, {}, QStringLiteral("KOL_sLSPS")});
    QTemporaryDir dir;
    QVERIFY(w.lifecycle()->saveTo(dir.filePath(QStringLiteral("s.stvx"))));
    QCOMPARE(w.panelSelection()->area(), (CellRect{0, 0, 9, 9}));
    QVERIFY(w.lifecycle()->newStation());
    QVERIFY(w.panelSelection()->isEmpty());

    // The wheel: three cells a notch, Shift sideways, Ctrl zooms about the
    // pointer; the zoom field follows and the panel stays reachable.
    Viewport &view = w.viewport();
    const auto wheel = [surface](QPoint at, QPoint angle, Qt::KeyboardModifiers keys, QPoint pixels = {}) {
        QWheelEvent event(at, surface->mapToGlobal(at), pixels, angle, Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(surface, &event);
    };
    const int down = view.vertical().position;
    wheel(QPoint(300, 200), QPoint(0, -120), {});
    QCOMPARE(view.vertical().position, down + 3 * 47);
    wheel(QPoint(300, 200), QPoint(0, -240), Qt::ShiftModifier);
    QCOMPARE(view.horizontal().position, 6 * 47);
    wheel(QPoint(300, 200), QPoint(0, -24), {}, QPoint(-5, -30));  // a touchpad by its pixels
    QCOMPARE(QPoint(view.horizontal().position, view.vertical().position), QPoint(6 * 47 + 5, down + 3 * 47 + 30));
    // The pointer stands still in the middle of P_Plocha.
    const QPoint pointer = w.workArea()->clipPanel()->rect().center();
    const auto onSurface = [&] { return pointer - view.surfacePosition(); };
    const auto cellUnder = [&] { return PointerInput::cellAt(onSurface().x(), onSurface().y(), view.cellSize()); };
    const QPoint before = cellUnder();
    wheel(onSurface(), QPoint(0, 120), Qt::ControlModifier);
    QCOMPARE(view.cellSize(), 64);
    QCOMPARE(child<QSpinBox>(&w, "SE_Zvetseni")->text(), QStringLiteral("17"));
    // New applied the new station's 100 x 50 cells.
    QCOMPARE(view.surfaceSize(), QSize(100 * 64, 50 * 64));
    QCOMPARE(cellUnder(), before);
    QCOMPARE(w.pointerInput()->cursorCell(), before);
    // A notch scrolls three cells of the size shown.
    const int zoomedDown = view.vertical().position;
    wheel(onSurface(), QPoint(0, -120), {});
    QCOMPARE(view.vertical().position, zoomedDown + 3 * 64);
    for (int notch = 0; notch < 5; ++notch)
        wheel(onSurface(), QPoint(0, -120), Qt::ControlModifier);
    QCOMPARE(view.cellSize(), 12);
    if (surface->rect().contains(onSurface()))
        QCOMPARE(w.pointerInput()->cursorCell(), cellUnder());
    QCOMPARE(child<QSpinBox>(&w, "SE_Zvetseni")->text(), QStringLiteral("-35"));
    QCOMPARE(view.surfaceSize(), QSize(100 * 12, 50 * 12));
}

void ShellPanelsTest::closingEndsProgram()
{
    {
        Application app;
        QSignalSpy finished(&app, &Application::finished);
        app.starter().close();
        QCOMPARE(finished.count(), 1);
        QVERIFY(!app.starter().timer()->isActive());
        QVERIFY(!app.mainWindow().isVisible());
    }
    Application app;
    runSplash(app);
    QSignalSpy finished(&app, &Application::finished);
    TPanelVaxel &w = app.mainWindow();
    app.document().tiles().append(TPolePanelu{});
    app.document().markModified();

    QString asked;
    whenModal([&asked](QWidget *modal) {
        asked = qobject_cast<QMessageBox *>(modal)->text();
        clickBoxButton(modal, QMessageBox::No);
    });
    QVERIFY(!w.close());
    QCOMPARE(asked, QStringLiteral("Soubor (žádný soubor) byl upraven, zavřít bez uložení změn?"));
    QVERIFY(w.isVisible());
    QCOMPARE(finished.count(), 0);

    // Enter and Esc answer No: neither throws the work away.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        bool presetNo = false;
        whenModal([&presetNo, key](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            presetNo = box->defaultButton() == box->button(QMessageBox::No);
            QTest::keyClick(box, key);
        });
        QVERIFY(!w.close());
        QVERIFY(presetNo);
        QVERIFY(w.isVisible());
        QCOMPARE(app.document().tiles().count(), 1);
    }
    QCOMPARE(finished.count(), 0);

    whenModal([](QWidget *modal) { clickBoxButton(modal, QMessageBox::Yes); });
    action(w, "Konec1")->trigger();
    QVERIFY(!w.isVisible());
    QCOMPARE(finished.count(), 1);
}

QTEST_MAIN(ShellPanelsTest)
#include "test_shell_panels.moc"
