#include "document/StationHistory.h"
#include "editing/AssortmentView.h"
#include "editing/CornerDivisionPage.h"
#include "editing/EditingInputs.h"
#include "editing/ElementSelection.h"
#include "editing/LampPropertiesPage.h"
#include "editing/PaletteWindow.h"
#include "editing/PanelSelection.h"
#include "editing/Picking.h"
#include "editing/PointerInput.h"
#include "editing/ShiftDialog.h"
#include "view/SpinEdit.h"
#include "support/ScriptedPrompts.h"
#include "support/EditingWidgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

using namespace kalmor;
using namespace kalmor::editingtest;

namespace {

// One selection frame on each main-window page.
constexpr int MainFrames = 9;

}  // namespace

class TestAssortment : public QObject {
    Q_OBJECT
private slots:
    void assortmentLayout()
    {
        AssortmentView main(AssortmentView::Layout::Main);
        AssortmentView palette(AssortmentView::Layout::Palette);
        QCOMPARE(main.objectName(), QStringLiteral("PC_Sortiment"));
        QCOMPARE(main.count(), 9);
        QCOMPARE(palette.count(), 8);
        QCOMPARE(main.widget(5)->objectName(), QStringLiteral("TabSheet2"));
        QCOMPARE(main.tabText(3), QStringLiteral("Kusá kolej + hranice KO"));
        QCOMPARE(palette.widget(4)->objectName(), QStringLiteral("SH_OVLADANI"));
        QCOMPARE(main.frames().size(), std::size_t(9));
        QCOMPARE(palette.frames().size(), std::size_t(8));
        QVERIFY(!palette.findChild<SelectionFrame *>(QStringLiteral("RamecekVolby_VYH2")));

        int images = 0;
        for (const AssortmentView *view : {&main, &palette}) {
            for (const KindInfo &kind : allKinds()) {
                const QString name = QString::fromLatin1(kind.name);
                const AssortmentImage *image = view->image(name);
                QVERIFY2(image, kind.name);
                QCOMPARE(image->size(), QSize(47, 47));
                QCOMPARE(image->parentWidget(), view == &main ? main.widget(kind.mainPage)
                                                              : palette.widget(kind.palettePage));
                ++images;
            }
        }
        QCOMPARE(images, 2 * KindCount);
        QCOMPARE(palette.image(QStringLiteral("OBO_sLSPH_sSDPH"))->pos(), QPoint(169, 231));
        QCOMPARE(main.image(QStringLiteral("KRI_sLDPH_sLHPD"))->pos(), QPoint(7 + 13 * 54, 7));

        // Frames start around each page's first kind and let clicks through.
        for (int page = 0; page < main.count(); ++page) {
            const SelectionFrame *frame = main.frameOfPage(page);
            if (!frame)
                continue;
            QCOMPARE(frame->pos(), QPoint(3, 3));
            QCOMPARE(frame->size(), QSize(55, 55));
            QVERIFY(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
        }
        QCOMPARE(main.frameOfPage(5)->objectName(), QStringLiteral("RamecekVolby_TLA"));
        QCOMPARE(palette.frameOfPage(7)->objectName(), QStringLiteral("RamecekVolby_NAV"));
        QCOMPARE(palette.frameOfPage(7)->pos(), QPoint(3, 3));

        // The frame's outline: 4 pixels of (0, 128, 255), nothing inside.
        SelectionFrame *frame = main.frames().front();
        const QImage drawn = frame->grab().toImage();
        QCOMPARE(drawn.pixelColor(0, 27), QColor(0, 128, 255));
        QCOMPARE(drawn.pixelColor(3, 27), QColor(0, 128, 255));
        QVERIFY(drawn.pixelColor(4, 27) != QColor(0, 128, 255));

        // Pictures: lamps keep their 16 x 15 and stand centred, white is clear.
        const QPixmap lamp = main.image(QStringLiteral("ZAR_CE_ZH"))->pixmap();
        QCOMPARE(lamp.size(), QSize(16, 15));
        QCOMPARE(main.image(QStringLiteral("ZAR_CE_ZH"))->alignment(), Qt::AlignCenter);
        const QImage track = main.image(QStringLiteral("KOL_sLSPS"))->pixmap().toImage();
        QCOMPARE(track.size(), QSize(47, 47));
        QCOMPARE(qAlpha(track.pixel(23, 2)), 0);
        QVERIFY(qAlpha(track.pixel(23, 23)) > 0);
    }

    void paletteWindow()
    {
        TPaleta palette;
        QCOMPARE(palette.objectName(), QStringLiteral("Paleta"));
        QCOMPARE(palette.windowTitle(), QStringLiteral("Paleta"));
        QVERIFY(palette.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(palette.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!palette.isVisible());
        // As wide as designed, and as tall as the tab rows and the lowest
        // picture's frame need.
        QCOMPARE(palette.width(), 343);
        QVERIFY(palette.height() >= 339);
        QCOMPARE(palette.anchorButton()->geometry(), QRect(321, 42, 19, 17));
        QCOMPARE(palette.anchorButton()->objectName(), QStringLiteral("B_Kotva"));
        // The same anchor picture as the main window's B_Kotva.
        QVERIFY(!palette.anchorButton()->icon().pixmap(13, 13).isNull());

        palette.show();
        for (int i = 0; i < palette.assortment()->count(); ++i) {
            palette.assortment()->bringToFront(i);
            const QWidget *page = palette.assortment()->currentWidget();
            for (const AssortmentImage *image : page->findChildren<AssortmentImage *>()) {
                const QRect frame(image->pos() - QPoint(FrameInset, FrameInset), QSize(FrameSize, FrameSize));
                QVERIFY2(page->rect().contains(frame), qPrintable(image->objectName()));
            }
        }
        int closes = 0;
        connect(&palette, &TPaleta::closed, this, [&closes] { ++closes; });
        palette.hide();
        QCOMPARE(closes, 0);
        palette.show();
        palette.close();
        QCOMPARE(closes, 1);
        QVERIFY(!palette.isVisible());

        // All eight tabs stand whole on rows within the window; a tab
        // click is a user's page change, a page brought forward from code
        // moves the checked tab along.
        QSignalSpy changes(palette.assortment(), &AssortmentView::pageChangedByUser);
        const QList<QToolButton *> tabs = palette.findChildren<QToolButton *>(QRegularExpression(QStringLiteral("^Tab_")));
        QCOMPARE(tabs.size(), 8);
        int rows = 0;
        for (const QToolButton *tab : tabs) {
            QVERIFY(tab->geometry().right() < palette.width());
            QVERIFY(tab->width() >= tab->sizeHint().width());
            rows = std::max(rows, tab->geometry().bottom() / tab->height() + 1);
        }
        QVERIFY(rows >= 2);
        QVERIFY(palette.assortment()->geometry().top() >= tabs.first()->height() * rows);
        auto *stitky = palette.findChild<QToolButton *>(QStringLiteral("Tab_SH_STITKY"));
        QTest::mouseClick(stitky, Qt::LeftButton);
        QCOMPARE(palette.assortment()->currentWidget()->objectName(), QStringLiteral("SH_STITKY"));
        QCOMPARE(changes.count(), 1);
        QVERIFY(stitky->isChecked());
        palette.assortment()->bringToFront(u"SH_PRIME");
        QCOMPARE(changes.count(), 1);
        QVERIFY(!stitky->isChecked());
        QVERIFY(palette.findChild<QToolButton *>(QStringLiteral("Tab_SH_PRIME"))->isChecked());
    }

    void chooseInMainWindow()
    {
        Fixture f;
        QCOMPARE(f.selection->currentKind(), QStringLiteral("KOL_sLSPS"));
        // Start-up brings the first page to the front from code: no page rules.
        f.main->bringToFront(u"SH_ZAROVKY");
        f.main->bringToFront(u"SH_PRIME");
        QCOMPARE(f.selection->currentKind(), QStringLiteral("KOL_sLSPS"));
        QCOMPARE(f.visibleLeftTabs().size(), 3);

        f.main->bringToFront(u"SH_ZAROVKY");
        QSignalSpy changed(f.selection, &ElementSelection::currentKindChanged);
        AssortmentImage *orange = f.main->image(QStringLiteral("ZAR_OR_ZH"));
        QTest::mouseClick(orange, Qt::LeftButton);
        QCOMPARE(f.selection->currentKind(), QStringLiteral("ZAR_OR_ZH"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(f.chosen->text(), QStringLiteral("ZAR_OR_ZH"));
        QCOMPARE(f.mainFrameLefts(), QList<int>(MainFrames, orange->x() - 4));
        QCOMPARE(f.main->frames().front()->y(), 3);
        QCOMPARE(boxStates(*f.corner, false), QString());
        QCOMPARE(boxStates(*f.corner, true), QString());
        QVERIFY(samePicture(f.corner->chosenPicture(), orange));
        // Image clicks never touch the left panel.
        QCOMPARE(f.visibleLeftTabs().size(), 3);

        // Clicking the straight track again presets again.
        f.main->bringToFront(u"SH_PRIME");
        f.corner->box(BorderPoint::LS)->setChecked(false);
        QTest::mouseClick(f.main->image(QStringLiteral("KOL_sLSPS")), Qt::LeftButton);
        QCOMPARE(boxStates(*f.corner, false), QStringLiteral("LS PS"));

        // A desk element: no border points, the left panel as it was.
        f.main->bringToFront(u"TabSheet2");
        AssortmentImage *controller = f.main->image(QStringLiteral("RAD_VYH"));
        QTest::mouseClick(controller, Qt::LeftButton);
        QCOMPARE(f.selection->currentKind(), QStringLiteral("RAD_VYH"));
        QCOMPARE(f.mainFrameLefts(), QList<int>(MainFrames, controller->x() - 4));
        QCOMPARE(boxStates(*f.corner, true), QString());
        QVERIFY(samePicture(f.corner->chosenPicture(), controller));
        QCOMPARE(f.visibleLeftTabs().size(), 3);
        f.main->bringToFront(u"SH_PRIME");
        QTest::mouseClick(f.main->image(QStringLiteral("KOL_sLSPS")), Qt::LeftButton);

        // A press outside the image, or with another button, chooses nothing.
        QTest::mouseClick(f.main->image(QStringLiteral("KOL_sLDPH")), Qt::RightButton);
        QCOMPARE(f.selection->currentKind(), QStringLiteral("KOL_sLSPS"));
    }

    void mainPageChanges()
    {
        Fixture f;
        QTest::mouseClick(f.main->image(QStringLiteral("KOL_sLHPD")), Qt::LeftButton);
        QVERIFY(f.mainFrameLefts().front() != 3);

        clickTab(f.main, mainPageIndex(u"SH_ZAROVKY"));
        QCOMPARE(f.main->currentIndex(), mainPageIndex(u"SH_ZAROVKY"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("ZAR_CE_ZH"));
        QCOMPARE(f.chosen->text(), QStringLiteral("ZAR_CE_ZH"));
        QCOMPARE(f.mainFrameLefts(), QList<int>(MainFrames, 3));
        QCOMPARE(f.visibleLeftTabs(), QStringList({"SH_ZarovkyL"}));
        QCOMPARE(f.left->currentWidget(), f.lamp);
        QVERIFY(f.leftPageAreaVisible());

        // The desk pages choose their first kind; its designation is typed
        // on the plates' page.
        const std::pair<const char16_t *, QString> deskPages[] = {
            {u"TabSheet1", u"NAV_HL_L"_qs}, {u"TabSheet2", u"TLA_VC"_qs}, {u"TabSheet5", u"PRU_SIP_L"_qs}};
        for (const auto &[page, first] : deskPages) {
            clickTab(f.main, mainPageIndex(page));
            QCOMPARE(f.selection->currentKind(), first);
            QCOMPARE(f.chosen->text(), first);
            QCOMPARE(f.mainFrameLefts(), QList<int>(MainFrames, 3));
            QCOMPARE(f.visibleLeftTabs(), QStringList({"SH_PopiskyL"}));
            QVERIFY(f.label->isVisible());
            QVERIFY(!f.lamp->isVisible());
        }

        clickTab(f.main, mainPageIndex(u"SH_VYHYBKY2"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("VYH_sLSPS_sLHPS"));
        QCOMPARE(f.visibleLeftTabs(), QStringList({"SH_DeleniKO"}));
        QVERIFY(f.corner->isVisible());
        QCOMPARE(boxStates(*f.corner, false), QStringLiteral("LH LS PS"));

        clickTab(f.main, mainPageIndex(u"SH_STITKY"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("STI_Cely_Dole"));
        QCOMPARE(f.visibleLeftTabs(), QStringList({"SH_PopiskyL"}));
        QVERIFY(f.label->isVisible());

        clickTab(f.main, mainPageIndex(u"SH_HRANICE"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("KOZ_sLS"));
        QCOMPARE(f.visibleLeftTabs(), QStringList({"SH_DeleniKO"}));
    }

    void paletteChoices()
    {
        Fixture f;
        f.palette->show();
        AssortmentView *view = f.palette->assortment();
        const QList<int> mainFramesBefore = f.mainFrameLefts();

        clickTab(view, palettePageIndex(u"SH_STITKY"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("STI_Cely_Dole"));
        QCOMPARE(f.chosen->text(), QStringLiteral("STI_Cely_Dole"));
        QCOMPARE(f.visibleLeftTabs().size(), 3);
        QCOMPARE(f.mainFrameLefts(), mainFramesBefore);

        clickTab(view, palettePageIndex(u"SH_VYHYBKY1"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("VYH_sLSPS_sLDPS"));
        AssortmentImage *obo = view->image(QStringLiteral("OBO_sLSPH_sSDPH"));
        QTest::mouseClick(obo, Qt::LeftButton);
        QCOMPARE(f.selection->currentKind(), QStringLiteral("OBO_sLSPH_sSDPH"));
        QCOMPARE(f.paletteFramePositions(), QList<QPoint>(8, QPoint(165, 227)));
        QCOMPARE(f.mainFrameLefts(), QList<int>(MainFrames, 165));
        QCOMPARE(boxStates(*f.corner, false), QStringLiteral("LS SD PH"));

        // A palette page change puts only that page's frame around its first kind.
        clickTab(view, palettePageIndex(u"SH_PRIME"));
        QCOMPARE(view->frameOfPage(0)->pos(), QPoint(3, 3));
        QCOMPARE(view->frameOfPage(1)->pos(), QPoint(165, 227));
        clickTab(view, palettePageIndex(u"SH_NAVESTIDLA"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("NAV_HL_L"));
        QCOMPARE(view->frameOfPage(palettePageIndex(u"SH_NAVESTIDLA"))->pos(), QPoint(3, 3));
        QCOMPARE(f.mainFrameLefts(), QList<int>(MainFrames, 165));
        QCOMPARE(f.visibleLeftTabs().size(), 3);
        AssortmentImage *lock = view->image(QStringLiteral("KLI_Zamek"));
        clickTab(view, palettePageIndex(u"SH_OVLADANI"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("TLA_VC"));
        QTest::mouseClick(lock, Qt::LeftButton);
        QCOMPARE(f.selection->currentKind(), QStringLiteral("KLI_Zamek"));
        QCOMPARE(f.paletteFramePositions(), QList<QPoint>(8, lock->pos() - QPoint(4, 4)));
    }

    // Shift with the left button selects, Ctrl with the right button
    // picks; neither places, removes or touches the status. Picking a tile
    // chooses its kind as a click on its picture does and gives the boxes
    // the tile's own flags; a lamp gives its offsets; of stacked records
    // the one drawn on top counts.
    void selectingAndPicking()
    {
        Fixture f;
        StationDocument doc;
        StationHistory history(doc);
        PointerInput pointer(history, [] { return 47; },
                             [&f] { return currentPlacementInputs(f.selection->currentKind(), *f.corner, *f.lamp); });
        PanelSelection cells;
        QObject::connect(&pointer, &PointerInput::cellsSelected, &cells, &PanelSelection::selectCells);
        QObject::connect(&pointer, &PointerInput::pickRequested, &pointer, [&](QPoint cell) {
            pickElement(doc.data(), cell, *f.selection, *f.corner, *f.lamp);
        });
        const auto gesture = [&pointer](Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint from, QPoint to) {
            pointer.mouseMoved(from.x() * 47 + 3, from.y() * 47 + 3);
            pointer.mousePressed(button, from.x() * 47 + 3, from.y() * 47 + 3, keys);
            pointer.mouseMoved(to.x() * 47 + 3, to.y() * 47 + 3);
            pointer.mouseReleased(button, to.x() * 47 + 3, to.y() * 47 + 3);
        };

        gesture(Qt::LeftButton, Qt::ShiftModifier, {5, 4}, {2, 6});
        QCOMPARE(cells.area(), (CellRect{2, 4, 5, 6}));
        gesture(Qt::LeftButton, Qt::ShiftModifier, {3, 3}, {3, 3});
        QCOMPARE(cells.area(), (CellRect{3, 3, 3, 3}));

        TPolePanelu switchTile;
        switchTile.X = 1;
        switchTile.Y = 1;
        switchTile.NAME = QStringLiteral("VYH_sLHPD_sLHSD");
        switchTile.Cont_PD = switchTile.Cont_SD = true;  // LH cleared, and SD only on the branch
        doc.tiles().append(TPolePanelu{1, 1, {}, {}, {}, {}, {}, {}, {}, {}, QStringLiteral("KOL_sLSPS")});
        doc.tiles().append(switchTile);
        doc.lamps().append({1, 1, 9, 9, QStringLiteral("ZAR_OR_ZH")});
        doc.lamps().append({2, 1, 7, 40, QStringLiteral("ZAR_ZE_ZH")});
        doc.plates().append({QStringLiteral("STI_Cely_Nahore"), 3, 1});
        QCOMPARE(doc.status(), DocumentStatus::New);

        gesture(Qt::RightButton, Qt::ControlModifier, {1, 1}, {1, 1});
        QCOMPARE(f.selection->currentKind(), QStringLiteral("VYH_sLHPD_sLHSD"));
        QCOMPARE(f.main->currentWidget()->objectName(), QStringLiteral("SH_VYHYBKY2"));
        QCOMPARE(f.mainFrameLefts(), QList<int>(MainFrames, f.main->image(QStringLiteral("VYH_sLHPD_sLHSD"))->x() - 4));
        QCOMPARE(boxStates(*f.corner, false), QStringLiteral("SD PD"));
        QCOMPARE(boxStates(*f.corner, true), QStringLiteral("LH SD PD"));
        gesture(Qt::RightButton, Qt::ControlModifier, {2, 1}, {2, 1});
        QCOMPARE(f.selection->currentKind(), QStringLiteral("ZAR_ZE_ZH"));
        QCOMPARE(f.visibleLeftTabs(), QStringList({"SH_ZarovkyL"}));
        QCOMPARE(QPoint(f.lamp->offsetX(), f.lamp->offsetY()), QPoint(7, 40));
        gesture(Qt::RightButton, Qt::ControlModifier, {3, 1}, {3, 1});
        QCOMPARE(f.selection->currentKind(), QStringLiteral("STI_Cely_Nahore"));
        gesture(Qt::RightButton, Qt::ControlModifier, {8, 8}, {8, 8});  // an empty cell
        QCOMPARE(f.selection->currentKind(), QStringLiteral("STI_Cely_Nahore"));

        QCOMPARE(doc.tiles().count(), 2);
        QCOMPARE(doc.lamps().count(), 2);
        QCOMPARE(doc.plates().count(), 1);
        QCOMPARE(doc.status(), DocumentStatus::New);
        QVERIFY(!history.canUndo());
        // The plain gestures still place and remove.
        gesture(Qt::RightButton, {}, {3, 1}, {3, 1});
        QVERIFY(doc.plates().isEmpty());
    }

    void dockingAndClosing()
    {
        Fixture f;
        // Undock as the main window's anchor does, with "Žárovky" in front.
        clickTab(f.main, mainPageIndex(u"SH_ZAROVKY"));
        QTest::mouseClick(f.main->image(QStringLiteral("ZAR_ZE_ZH")), Qt::LeftButton);
        f.docked->hide();
        f.palette->show();
        f.palette->assortment()->bringToFront(u"SH_ZAROVKY");
        f.dock->setChecked(false);
        f.selection->synchronise();
        QCOMPARE(f.palette->assortment()->currentWidget()->objectName(), QStringLiteral("SH_PRIME"));
        QCOMPARE(f.main->currentWidget()->objectName(), QStringLiteral("SH_PRIME"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("KOL_sLSPS"));
        QCOMPARE(f.mainFrameLefts(), QList<int>(MainFrames, 3));
        QCOMPARE(f.visibleLeftTabs(), QStringList({"SH_ZarovkyL"}));
        QVERIFY(samePicture(f.corner->chosenPicture(), f.main->image(QStringLiteral("KOL_sLSPS"))));

        // The close box: hidden, menu entries follow, no synchronisation.
        clickTab(f.palette->assortment(), palettePageIndex(u"SH_HRANICE"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("KOZ_sLS"));
        f.palette->close();
        QVERIFY(!f.palette->isVisible());
        QVERIFY(!f.assortment->isChecked());
        QVERIFY(!f.dock->isEnabled());
        QVERIFY(!f.docked->isVisible());
        QCOMPARE(f.selection->currentKind(), QStringLiteral("KOZ_sLS"));
        QCOMPARE(f.palette->assortment()->currentWidget()->objectName(), QStringLiteral("SH_HRANICE"));

        // Hiding is not closing.
        f.assortment->setChecked(true);
        f.dock->setEnabled(true);
        f.palette->show();
        f.palette->hide();
        QVERIFY(f.assortment->isChecked());
        QVERIFY(f.dock->isEnabled());

        // The palette's anchor docks and synchronises.
        f.palette->show();
        f.assortment->setChecked(false);
        QTest::mouseClick(f.palette->anchorButton(), Qt::LeftButton);
        QVERIFY(!f.palette->isVisible());
        QVERIFY(f.docked->isVisible());
        QVERIFY(f.assortment->isChecked());
        QVERIFY(f.dock->isChecked());
        QVERIFY(!f.dock->isEnabled());
        QCOMPARE(f.selection->currentKind(), QStringLiteral("KOL_sLSPS"));
        QCOMPARE(f.main->currentWidget()->objectName(), QStringLiteral("SH_PRIME"));
        QCOMPARE(f.palette->assortment()->currentWidget()->objectName(), QStringLiteral("SH_PRIME"));
    }
};

QTEST_MAIN(TestAssortment)
#include "test_assortment.moc"
