// The station as the editor shows it: its own size from Open, New and the
// history, the choices of the left panel kept over a save, and a desk
// element placed, designated, picked, edited and mirrored with the pointer.
#include "document/StationFile.h"
#include "editing/ElementSelection.h"
#include "editing/PointerInput.h"
#include "render/FrameComposer.h"
#include "render/Viewport.h"
#include "view/DrawingSurface.h"
#include "view/SpinEdit.h"
#include "view/TNastaveniPanelu.h"
#include "view/WorkArea.h"
#include "support/ShellTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace kalmor;
using namespace kalmor::shelltest;

class ShellStationTest : public QObject {
    Q_OBJECT
private slots:
    void stationSizeApplied();
    void saveKeepsCornerBoxes();
    void deskElementWithThePointer();

private:
    QTemporaryDir m_dir;
};

void ShellStationTest::stationSizeApplied()
{
    StationData big;
    big.rows = big.columns = 300;
    big.tiles.append(TPolePanelu{299, 299, false, true, false, false, false, false, true, false,
                                 QStringLiteral("KOL_sLSPS")});
    const QString file = m_dir.filePath(QStringLiteral("velka.stvx"));
    QVERIFY(writeStationFile(file, big).ok());

    Application app;
    runSplash(app);
    TPanelVaxel &w = app.mainWindow();
    Viewport &view = w.viewport();
    QVERIFY(w.lifecycle()->openFrom(file));

    // The surface, the scroll bars and the grid reach the station's last cell.
    const int cell = view.cellSize();
    QCOMPARE(QSize(view.appliedColumns(), view.appliedRows()), QSize(300, 300));
    QCOMPARE(w.surface()->size(), QSize(300 * cell, 300 * cell));
    QScrollBar *across = w.workArea()->horizontalBar();
    QVERIFY(across->isEnabled());
    QCOMPARE(across->maximum(), 300 * cell - w.workArea()->clipPanel()->width());
    const QImage last = w.surface()->copyOut(QRect(299 * cell, 299 * cell, cell, cell));
    QCOMPARE(last.size(), QSize(cell, cell));
    QCOMPARE(last.pixel(0, cell / 3), GridColour);
    QCOMPARE(app.panelSettings()->SE_PolickaSirka()->value(), 300);

    // A size typed and applied with "Nastavit", then taken back and made
    // again: the screen follows the document both ways.
    TNastaveniPanelu &settings = *app.panelSettings();
    settings.SE_PolickaVyska()->editor()->setText(QStringLiteral("40"));
    settings.Button4Click();
    QCOMPARE(view.appliedRows(), 40);
    QVERIFY(w.history().undo());
    QCOMPARE(app.document().rows(), 300);
    QCOMPARE(view.appliedRows(), 300);
    QCOMPARE(w.surface()->height(), 300 * cell);
    QVERIFY(w.history().redo());
    QCOMPARE(view.appliedRows(), 40);
    // Typed alone, a size waits for "Nastavit"; its undo applies what it
    // returns to.
    settings.SE_PolickaSirka()->editor()->setText(QStringLiteral("120"));
    QCOMPARE(app.document().columns(), 120);
    QCOMPARE(view.appliedColumns(), 300);
    QVERIFY(w.history().undo());
    QCOMPARE(view.appliedColumns(), 300);
    QVERIFY(w.history().undo());
    QCOMPARE(view.appliedRows(), 300);

    // New applies the new station's 100 x 50.
    app.document().setStatus(DocumentStatus::Saved);
    QVERIFY(w.lifecycle()->newStation());
    QCOMPARE(QSize(view.appliedColumns(), view.appliedRows()), QSize(100, 50));
    QCOMPARE(w.surface()->size(), QSize(100 * cell, 50 * cell));
}

void ShellStationTest::saveKeepsCornerBoxes()
{
    Application app;
    runSplash(app);
    TPanelVaxel &w = app.mainWindow();
    QVERIFY(w.selection()->chooseKindByName(QStringLiteral("VYH_sLSPS_sLDPS")));
    auto *ld = child<QCheckBox>(&w, "CH_Poloha_LD");
    auto *ps = child<QCheckBox>(&w, "CH_Poloha_PS");
    QVERIFY(ld->isChecked() && ps->isChecked());
    ld->click();
    QVERIFY(!ld->isChecked() && ld->isEnabled());

    app.document().tiles().append(TPolePanelu{2, 2, false, true, false, false, false, false, true, false,
                                              QStringLiteral("KOL_sLSPS")});
    app.document().markModified();
    QVERIFY(w.lifecycle()->saveTo(m_dir.filePath(QStringLiteral("boxy.stvx"))));
    QCOMPARE(w.selection()->currentKind(), QStringLiteral("VYH_sLSPS_sLDPS"));
    QCOMPARE(child<QLabel>(&w, "L_ZvolenaSoucast")->text(), QStringLiteral("VYH_sLSPS_sLDPS"));
    QVERIFY(!ld->isChecked() && ld->isEnabled());
    QVERIFY(ps->isChecked());
    QVERIFY(!child<QCheckBox>(&w, "CH_Poloha_LH")->isEnabled());
    // The next tile placed gets the boxes as the user left them.
    const int at = 5 * w.viewport().cellSize() + 5;
    w.pointerInput()->mouseMoved(at, at);
    w.pointerInput()->mousePressed(Qt::LeftButton, at, at);
    w.pointerInput()->mouseReleased(Qt::LeftButton, at, at);
    const TPolePanelu &placed = app.document().tiles().at(1);
    QCOMPARE(placed.NAME, QStringLiteral("VYH_sLSPS_sLDPS"));
    QVERIFY(placed.Cont_LS && placed.Cont_PS && !placed.Cont_LD);
}

void ShellStationTest::deskElementWithThePointer()
{
    Application app;
    runSplash(app);
    TPanelVaxel &w = app.mainWindow();
    StationDocument &doc = app.document();
    X_Plocha *surface = w.surface();
    const int cell = w.viewport().cellSize();
    const auto at = [cell](int column) { return column * cell + 5; };
    const auto press = [&](int column, Qt::MouseButton button, Qt::KeyboardModifiers keys = {}) {
        emit surface->mouseMoved(at(column), at(2));
        emit surface->mousePressed(button, at(column), at(2), keys);
    };
    const auto click = [&](int column, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {}) {
        press(column, button, keys);
        emit surface->mouseReleased(button, at(column), at(2));
    };
    const auto doubleClick = [&](int column) {
        click(column);
        emit surface->mouseDoubleClicked(Qt::LeftButton, at(column), at(2), {});
        emit surface->mouseReleased(Qt::LeftButton, at(column), at(2));
    };
    auto *text = child<QLineEdit>(&w, "Edit1");
    auto *pages = child<QTabWidget>(&w, "PC_Nastaveni");

    // A desk kind shows the plates' page; its field designates the element.
    QVERIFY(w.selection()->chooseKindByName(QStringLiteral("NAV_HL_P")));
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("SH_PopiskyL"));
    QTest::keyClicks(text, QStringLiteral("S1"));
    click(3);
    QCOMPARE(doc.deskElements().count(), 1);
    QCOMPARE(doc.deskElements().at(0), (TPolePrvek{3, 2, QStringLiteral("NAV_HL_P"), QStringLiteral("S1")}));
    // Placed again over it: replaced in place, the cell's plate and tile
    // stay beneath.
    doc.tiles().append(TPolePanelu{3, 2, false, true, false, false, false, false, true, false,
                                   QStringLiteral("KOL_sLSPS")});
    doc.plates().append(TPoleStitek{QStringLiteral("STI_Cely_Dole"), 3, 2, QStringLiteral("Kolej 1")});
    text->setText(QStringLiteral("S2"));
    click(3);
    QCOMPARE(doc.deskElements().count(), 1);
    QCOMPARE(doc.deskElements().at(0).TEXT, QStringLiteral("S2"));
    QCOMPARE(w.history().undoName(), QStringLiteral("Nahrazení prvku"));

    // Ctrl + right click picks kind and designation from the element on
    // top; with a plate kind current the plate under it is picked.
    QVERIFY(w.selection()->chooseKindByName(QStringLiteral("KOL_sLSPS")));
    text->clear();
    click(3, Qt::RightButton, Qt::ControlModifier);
    QCOMPARE(w.selection()->currentKind(), QStringLiteral("NAV_HL_P"));
    QCOMPARE(text->text(), QStringLiteral("S2"));
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("SH_PopiskyL"));
    QVERIFY(w.selection()->chooseKindByName(QStringLiteral("STI_Cely_Dole")));
    click(3, Qt::RightButton, Qt::ControlModifier);
    QCOMPARE(text->text(), QStringLiteral("Kolej 1"));

    // A double click edits the designation in place in one step; the
    // first click's placing is withdrawn, Esc keeps the designation.
    QVERIFY(w.selection()->chooseKindByName(QStringLiteral("NAV_SE_L")));
    const qsizetype steps = w.history().undoSteps();
    doubleClick(3);
    auto *editor = child<QLineEdit>(surface, "E_TextPopisku");
    QTRY_VERIFY(editor->isVisible());
    QCOMPARE(editor->text(), QStringLiteral("S2"));
    QCOMPARE(doc.deskElements().at(0).NAME, QStringLiteral("NAV_HL_P"));
    editor->setText(QStringLiteral("Se12"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(doc.deskElements().at(0).TEXT, QStringLiteral("Se12"));
    QCOMPARE(doc.plates().at(0).TEXT, QStringLiteral("Kolej 1"));
    QCOMPARE(w.history().undoSteps(), steps + 1);
    QCOMPARE(w.history().undoName(), QStringLiteral("Změna označení prvku"));
    doubleClick(3);
    QTest::keyClicks(editor, QStringLiteral("x"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!editor->isVisible());
    QCOMPARE(doc.deskElements().at(0).TEXT, QStringLiteral("Se12"));
    QVERIFY(w.history().undo());
    QCOMPARE(doc.deskElements().at(0).TEXT, QStringLiteral("S2"));
    QVERIFY(w.history().redo());

    // Right click removes the desk element alone; a drag along the row
    // fills it, one step each.
    click(3, Qt::RightButton);
    QVERIFY(doc.deskElements().isEmpty());
    QVERIFY(doc.plates().count() == 1 && doc.tiles().count() == 1);
    QCOMPARE(w.history().undoName(), QStringLiteral("Odstranění prvku"));
    QVERIFY(w.history().undo());
    QCOMPARE(doc.deskElements().at(0).TEXT, QStringLiteral("Se12"));
    text->clear();
    press(5, Qt::LeftButton);
    emit surface->mouseMoved(at(8), at(2));
    emit surface->mouseReleased(Qt::LeftButton, at(8), at(2));
    QCOMPARE(doc.deskElements().count(), 5);
    QCOMPARE(w.history().undoName(), QStringLiteral("Vyplnění řady"));
    QCOMPARE(doc.deskElements().at(1), (TPolePrvek{8, 2, QStringLiteral("NAV_SE_L"), QString()}));

    // A mirrored selection swaps the hands of the signals it holds.
    emit surface->mouseMoved(at(3), at(2));
    emit surface->mousePressed(Qt::LeftButton, at(3), at(2), Qt::ShiftModifier);
    emit surface->mouseReleased(Qt::LeftButton, at(5), at(2));
    action(w, "MP_ZrcadlitVodorovne")->trigger();
    QCOMPARE(doc.deskElements().at(0), (TPolePrvek{5, 2, QStringLiteral("NAV_HL_L"), QStringLiteral("Se12")}));
    QCOMPARE(doc.deskElements().at(2), (TPolePrvek{3, 2, QStringLiteral("NAV_SE_P"), QString()}));
}

QTEST_MAIN(ShellStationTest)
#include "test_shell_station.moc"
