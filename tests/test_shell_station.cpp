// The station as the editor shows it: its own size from Open, New and the
// history, and the choices of the left panel kept over a save.
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
#include <QTemporaryDir>

using namespace kalmor;
using namespace kalmor::shelltest;

class ShellStationTest : public QObject {
    Q_OBJECT
private slots:
    void stationSizeApplied();
    void saveKeepsCornerBoxes();

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

QTEST_MAIN(ShellStationTest)
#include "test_shell_station.moc"
