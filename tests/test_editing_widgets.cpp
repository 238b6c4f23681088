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
#include "render/FrameComposer.h"
#include "render/ImageSet.h"
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

class TestEditingWidgets : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinDesignFont(); }

    void cornerDivisionPresets()
    {
        CornerDivisionPage page;
        QCOMPARE(boxStates(page, false), QStringLiteral("LS PS"));
        QCOMPARE(boxStates(page, true), QStringLiteral("LS PS"));
        // Each box at its place, its indicator at its border point of the picture.
        const std::array<QRect, 8> places{QRect(10, 8, 15, 17),  QRect(9, 39, 16, 17),  QRect(8, 69, 15, 17),
                                          QRect(40, 8, 13, 17),  QRect(39, 70, 13, 17), QRect(68, 7, 25, 17),
                                          QRect(68, 38, 25, 17), QRect(68, 69, 17, 17)};
        for (std::size_t i = 0; i < AllBorderPoints.size(); ++i) {
            const QCheckBox *box = page.box(AllBorderPoints[i]);
            QCOMPARE(box->pos(), places[i].topLeft());
            QCOMPARE(box->height(), places[i].height());
            QVERIFY(box->width() >= places[i].width());
            QStyleOptionButton option;
            option.initFrom(box);
            const QRect inBox = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
            // The indicator is whole, not cut at the box's right edge.
            QVERIFY2(box->rect().contains(inBox), box->objectName().toLatin1());
            const QRect indicator = inBox.translated(box->pos());
            const BorderPoint p = AllBorderPoints[i];
            const int column = p == BorderPoint::LH || p == BorderPoint::LS || p == BorderPoint::LD ? 0
                               : p == BorderPoint::SH || p == BorderPoint::SD                         ? 23
                                                                                                      : 46;
            const int row = p == BorderPoint::LH || p == BorderPoint::SH || p == BorderPoint::PH ? 0
                            : p == BorderPoint::LS || p == BorderPoint::PS                         ? 23
                                                                                                   : 46;
            const QPoint point = QPoint(22, 23) + QPoint(column, row);
            QVERIFY2(indicator.adjusted(-3, -3, 3, 3).contains(point), box->objectName().toLatin1());
        }
        QVERIFY(!page.chosenPicture()->pixmap().isNull());
        QCOMPARE(page.box(BorderPoint::LH)->objectName(), QStringLiteral("CH_Poloha_LH"));
        QVERIFY(page.box(BorderPoint::LH)->text().isEmpty());
        QCOMPARE(page.chosenPicture()->geometry(), QRect(22, 23, 47, 47));
        QVERIFY(!page.findChild<QLabel *>(QStringLiteral("L_Pocatek"))->isVisibleTo(&page));
        QVERIFY(page.findChild<QLabel *>(QStringLiteral("L_Konec"))->isVisibleTo(&page));
        QCOMPARE(page.endCaption()->text(), QStringLiteral("0x0"));

        page.preset(u"KOL_sLHPD");
        QCOMPARE(boxStates(page, false), QStringLiteral("LH PD"));
        QCOMPARE(boxStates(page, true), QStringLiteral("LH PD"));
        QCOMPARE(page.cornerChecks(), (std::array<bool, 4>{true, false, false, true}));
        page.preset(u"VYH_sLSPS_sLDPS");
        QCOMPARE(boxStates(page, false), QStringLiteral("LS LD PS"));
        page.preset(u"ANG_sLDPH_sSDSH_sLDSH_sSDLH");
        QCOMPARE(boxStates(page, false), QStringLiteral("LH LD SH SD PH"));
        QCOMPARE(boxStates(page, true), QStringLiteral("LH LD SH SD PH"));
        page.preset(u"KOZ_sPD");
        QCOMPARE(boxStates(page, true), QStringLiteral("PD"));
        page.preset(u"ZAR_CE_ZH");
        QCOMPARE(boxStates(page, false), QString());
        QCOMPARE(boxStates(page, true), QString());

        // The user clears a preset box; it stays enabled; a new preset
        // checks it again.
        page.preset(u"KOL_sLSPS");
        page.show();
        QTest::mouseClick(page.box(BorderPoint::LS), Qt::LeftButton);
        QCOMPARE(boxStates(page, false), QStringLiteral("PS"));
        QCOMPARE(page.flags(), (std::array<bool, 8>{false, false, false, false, false, false, true, false}));
        QVERIFY(page.box(BorderPoint::LS)->isEnabled());
        QTest::mouseClick(page.box(BorderPoint::LH), Qt::LeftButton);  // disabled: stays cleared
        QCOMPARE(boxStates(page, false), QStringLiteral("PS"));
        page.preset(u"KOL_sLSPS");
        QCOMPARE(boxStates(page, false), QStringLiteral("LS PS"));
    }

    void lampAlignment()
    {
        int cell = 47;
        LampPropertiesPage page([&cell] { return cell; });
        page.show();
        QCOMPARE(page.horizontalList()->currentText(), QStringLiteral("Uprostřed"));
        QCOMPARE(page.verticalList()->currentText(), QStringLiteral("Nahoře"));
        QCOMPARE(page.offsetX(), 0);
        QCOMPARE(page.offsetY(), 0);

        // Each list applies both: vertical "Dole" also centres horizontally.
        pick(page.verticalList(), 2);
        QCOMPARE(page.offsetY(), 32);
        QCOMPARE(page.offsetX(), 15);
        pick(page.horizontalList(), 2);
        QCOMPARE(page.offsetX(), 31);
        pick(page.verticalList(), 1);
        QCOMPARE(page.offsetY(), 16);
        pick(page.horizontalList(), 0);
        QCOMPARE(page.offsetX(), 0);

        // Zoom 40: 87 - 15 = 72 is held at 47 by the spin edit.
        cell = 87;
        pick(page.verticalList(), 2);
        QCOMPARE(page.offsetY(), 47);
        QCOMPARE(page.offsetYEdit()->text(), QStringLiteral("47"));

        // A typed offset is reset by the other list.
        cell = 47;
        pick(page.verticalList(), 0);
        typeInto(page.offsetYEdit(), QStringLiteral("10"));
        QCOMPARE(page.offsetY(), 10);
        pick(page.horizontalList(), 1);
        pick(page.horizontalList(), 0);
        QCOMPARE(page.offsetY(), 0);

        // An emptied field shows 0.
        typeInto(page.offsetXEdit(), QStringLiteral("12"));
        QCOMPARE(page.offsetX(), 12);
        typeInto(page.offsetXEdit(), QString());
        QCOMPARE(page.offsetXEdit()->text(), QStringLiteral("0"));
        QCOMPARE(page.offsetX(), 0);
        typeInto(page.offsetYEdit(), QString());
        QCOMPARE(page.offsetYEdit()->text(), QStringLiteral("0"));

        // Setting the lists from code computes nothing.
        page.horizontalList()->setCurrentIndex(2);
        page.verticalList()->setCurrentIndex(2);
        QCOMPARE(page.offsetX(), 0);
        QCOMPARE(page.offsetY(), 0);

        LabelPropertiesPage labels;
        auto *edit = labels.findChild<QLineEdit *>(QStringLiteral("Edit1"));
        QVERIFY(edit && edit->isEnabled() && edit->text().isEmpty());
    }

    void lampPageFitsTheLeftPanel()
    {
        // As in the main window: an 11-pixel "Tahoma" (or the face pinned
        // for it) around the page, in a 169-pixel panel whose page area is
        // about 161 pixels wide.
        QWidget panel;
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(11);
        panel.setFont(font);
        panel.resize(169, 300);
        auto *page = new LampPropertiesPage([] { return 47; }, &panel);
        page->setGeometry(4, 27, 161, 270);
        panel.show();

        QCOMPARE(page->verticalList()->geometry(), QRect(8, 24, 97, 21));
        QCOMPARE(page->horizontalList()->geometry(), QRect(7, 69, 98, 21));
        QCOMPARE(page->offsetYEdit()->geometry(), QRect(112, 24, 33, 22));
        QCOMPARE(page->offsetXEdit()->geometry(), QRect(112, 69, 33, 22));
        QCOMPARE(page->lampImageSize(), QSize(16, 15));

        const QList<std::pair<const char *, QString>> captions{
            {"Label1", QStringLiteral("Zarovnání svisle")},
            {"Label3", QStringLiteral("Odsazení")},
            {"Label2", QStringLiteral("Zarovnání vodorov.")},
            {"Label5", QStringLiteral("Odsazení")}};
        QList<QRect> taken{page->verticalList()->geometry(), page->horizontalList()->geometry(),
                           page->offsetYEdit()->geometry(), page->offsetXEdit()->geometry()};
        for (const auto &[name, text] : captions) {
            const auto *label = page->findChild<QLabel *>(QLatin1StringView(name));
            QVERIFY2(label, name);
            // Whole, not clipped, and within the page.
            QCOMPARE(label->text(), text);
            QVERIFY2(label->width() >= label->sizeHint().width(), name);
            QVERIFY2(label->geometry().right() < 161, name);
            QVERIFY2(label->fontInfo().pixelSize() >= 8, name);
            for (const QRect &other : taken)
                QVERIFY2(!label->geometry().intersects(other), name);
            taken << label->geometry();
            // Near its designed place above its control.
            QVERIFY2(label->y() == 10 || label->y() == 56, name);
        }
        // The panel's close button stands over the page's top right corner.
        QVERIFY(page->findChild<QLabel *>(QStringLiteral("Label3"))->geometry().right() < 145);
    }

    void shiftDialog()
    {
        StationDocument doc;
        StationHistory history(doc);
        ScriptedPrompts prompts;
        QSize panel(150, 50);
        TZ_PosunPolicek dialog(history, prompts, [&panel] { return panel; });
        QCOMPARE(dialog.objectName(), QStringLiteral("Z_PosunPolicek"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Posunout vše"));
        // Room for the whole caption in the title bar.
        QVERIFY(dialog.width() >= dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + 80);
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.countEdit()->value(), 1);
        QCOMPARE(dialog.countEdit()->maximum(), 4000);
        auto *trackOnly = dialog.findChild<QCheckBox *>(QStringLiteral("CH_JenKoleje"));
        QVERIFY(trackOnly);
        QCOMPARE(trackOnly->text(), QStringLiteral("Jen koleje"));
        QVERIFY(!trackOnly->isChecked());
        auto *up = dialog.findChild<QToolButton *>(QStringLiteral("BB_Nahoru"));
        auto *down = dialog.findChild<QToolButton *>(QStringLiteral("BB_Dolu"));
        auto *left = dialog.findChild<QToolButton *>(QStringLiteral("BB_Doleva"));
        auto *right = dialog.findChild<QToolButton *>(QStringLiteral("BB_Doprava"));
        QVERIFY(up && down && left && right);
        QCOMPARE(up->iconSize(), QSize(12, 12));
        QVERIFY(!up->icon().isNull());
        QCOMPARE(up->nextInFocusChain(), down);
        QCOMPARE(down->nextInFocusChain(), right);
        QCOMPARE(right->nextInFocusChain(), left);
        QCOMPARE(left->nextInFocusChain(), dialog.countEdit());
        // Four digits stand whole in the count field.
        dialog.show();
        typeInto(dialog.countEdit(), QStringLiteral("4000"));
        QVERIFY(dialog.countEdit()->editor()->fontMetrics().horizontalAdvance(QStringLiteral("4000"))
                <= dialog.countEdit()->editor()->contentsRect().width());

        TPolePanelu t;
        t.X = 140;
        t.Y = 10;
        t.NAME = QStringLiteral("KOL_sLSPS");
        doc.tiles().append(t);
        doc.lamps().append({140, 10, 0, 0, QStringLiteral("ZAR_CE_ZH")});
        doc.setStatus(DocumentStatus::Saved);
        // The lamp moves with the track; "Jen koleje" leaves it.
        typeInto(dialog.countEdit(), QStringLiteral("1"));
        QTest::mouseClick(right, Qt::LeftButton);
        QCOMPARE(doc.lamps().at(0).X, 141);
        QTest::mouseClick(left, Qt::LeftButton);
        QCOMPARE(doc.lamps().at(0).X, 140);
        trackOnly->setChecked(true);
        typeInto(dialog.countEdit(), QStringLiteral("3"));
        QTest::mouseClick(right, Qt::LeftButton);
        QCOMPARE(doc.tiles().at(0).X, 143);
        QVERIFY(dialog.isVisible());
        QCOMPARE(doc.status(), DocumentStatus::Modified);
        QTest::mouseClick(up, Qt::LeftButton);
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(doc.tiles().at(0).Y, 4);
        QTest::mouseClick(right, Qt::LeftButton);
        QTest::mouseClick(right, Qt::LeftButton);
        QTest::mouseClick(right, Qt::LeftButton);
        QCOMPARE(doc.tiles().at(0).X, 149);
        QCOMPARE(prompts.messages.size(), 1);
        panel = QSize(300, 50);
        QTest::mouseClick(right, Qt::LeftButton);
        QCOMPARE(doc.tiles().at(0).X, 152);
        QTest::mouseClick(down, Qt::LeftButton);
        QTest::mouseClick(left, Qt::LeftButton);
        QCOMPARE(QPoint(doc.tiles().at(0).X, doc.tiles().at(0).Y), QPoint(149, 7));

        // n = 0 moves nothing and keeps the status; empty text reads 0.
        doc.setStatus(DocumentStatus::Saved);
        typeInto(dialog.countEdit(), QString());
        QCOMPARE(dialog.countEdit()->text(), QStringLiteral("0"));
        QTest::mouseClick(down, Qt::LeftButton);
        QCOMPARE(doc.tiles().at(0).Y, 7);
        QCOMPARE(doc.status(), DocumentStatus::Saved);
        // A typed count beyond 4000 stands until the field is left, which a
        // click on an arrow does first: the shift is by 4000, and refused.
        typeInto(dialog.countEdit(), QStringLiteral("40000"));
        QCOMPARE(dialog.countEdit()->text(), QStringLiteral("40000"));
        QTest::mouseClick(right, Qt::LeftButton);
        QCOMPARE(dialog.countEdit()->text(), QStringLiteral("4000"));
        QCOMPARE(doc.tiles().at(0).X, 149);
        typeInto(dialog.countEdit(), QStringLiteral("12"));
        QTest::mouseClick(right, Qt::LeftButton);
        QCOMPARE(doc.tiles().at(0).X, 149 + 12);
        QCOMPARE(doc.lamps().at(0).X, 140);
        QCOMPARE(doc.status(), DocumentStatus::Modified);
    }

    void spinEditBounds()
    {
        SpinEdit edit(0, 47);
        edit.setEmptyValue(0);
        edit.show();
        const auto leave = [&edit] {
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(&edit, &out);
        };
        // Any whole number can be typed; the value follows it while it is
        // within the range, and the text goes to the nearest bound only
        // when the focus leaves.
        typeInto(&edit, QStringLiteral("50"));
        QCOMPARE(edit.text(), QStringLiteral("50"));
        QCOMPARE(edit.value(), 5);
        leave();
        QCOMPARE(edit.text(), QStringLiteral("47"));
        QCOMPARE(edit.value(), 47);
        typeInto(&edit, QStringLiteral("-3"));
        QCOMPARE(edit.value(), 47);
        leave();
        QCOMPARE(edit.text(), QStringLiteral("0"));
        typeInto(&edit, QStringLiteral("12"));
        leave();
        QCOMPARE(edit.value(), 12);
        // Letters are not taken.
        typeInto(&edit, QStringLiteral("x"));
        QVERIFY(!edit.text().contains(u'x'));
        // An emptied field shows its empty value selected: a digit typed
        // next replaces it.
        typeInto(&edit, QString());
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QCOMPARE(edit.value(), 0);
        QTest::keyClick(edit.editor(), Qt::Key_5);
        QCOMPARE(edit.text(), QStringLiteral("5"));
        QCOMPARE(edit.value(), 5);
    }

    void placementFromTheControls()
    {
        Fixture f;
        StationDocument doc;
        StationHistory history(doc);
        PointerInput pointer(history, [] { return 47; },
                             [&f] { return currentPlacementInputs(f.selection->currentKind(), *f.corner, *f.lamp); });
        pointer.setCaptionLabels(f.corner->startCaption(), f.corner->endCaption());
        const auto click = [&pointer](int column, int row) {
            pointer.mouseMoved(column * 47 + 1, row * 47 + 1);
            pointer.mousePressed(Qt::LeftButton, column * 47 + 1, row * 47 + 1);
            pointer.mouseReleased(Qt::LeftButton, column * 47 + 1, row * 47 + 1);
        };

        QTest::mouseClick(f.main->image(QStringLiteral("KOL_sLHPD")), Qt::LeftButton);
        QTest::mouseClick(f.corner->box(BorderPoint::LH), Qt::LeftButton);
        click(1, 1);
        click(2, 1);
        for (const TPolePanelu &t : doc.tiles())
            QVERIFY(t.NAME == QStringLiteral("KOL_sLHPD") && !t.Cont_LH && t.Cont_PD && !t.Cont_LS);
        QCOMPARE(doc.tiles().count(), 2);

        // Each corner box alone, found by its name, sets that flag of the
        // placed record and draws a corner piece in that corner of the
        // cursor cell's preview, in no other.
        QTest::mouseClick(f.main->image(QStringLiteral("KRI_sLDPH_sLHPD")), Qt::LeftButton);
        const ImageSet images;
        RenderState bare;
        bare.switches = ViewSwitches{false, false, false, false};
        // The four corners in the order of the record's flags below.
        const std::array<std::pair<QString, QPoint>, 4> corners{
            {{QStringLiteral("LH"), {0, 0}}, {QStringLiteral("LD"), {0, 1}}, {QStringLiteral("PH"), {1, 0}},
             {QStringLiteral("PD"), {1, 1}}}};
        const PanelSelection noCells;
        for (std::size_t only = 0; only < corners.size(); ++only) {
            for (std::size_t i = 0; i < corners.size(); ++i) {
                auto *box = f.corner->findChild<QCheckBox *>(QStringLiteral("CH_Poloha_") + corners[i].first);
                if (box->isChecked() != (i == only))
                    QTest::mouseClick(box, Qt::LeftButton);
            }
            click(6, 1);
            const TPolePanelu &placed = doc.tiles().at(doc.tiles().firstAt(6, 1));
            QCOMPARE((std::array{placed.Cont_LH, placed.Cont_LD, placed.Cont_PH, placed.Cont_PD}),
                     (std::array{only == 0, only == 1, only == 2, only == 3}));
            QVERIFY(!placed.Cont_LS && !placed.Cont_SH && !placed.Cont_SD && !placed.Cont_PS);

            const EditingView view = currentEditingView(pointer, f.selection->currentKind(), *f.corner, *f.lamp, noCells);
            QImage frame;
            CanvasState canvas;
            composeFrameWalkingEveryElement(frame, QRect(6 * 47, 47, 47, 47), StationData{}, bare, view, images,
                                            canvas);
            const QRgb fill = frame.pixel(23, 23);
            QRect drawn;
            for (int y = 0; y < 47; ++y) {
                for (int x = 0; x < 47; ++x) {
                    if (frame.pixel(x, y) != fill)
                        drawn |= QRect(x, y, 1, 1);
                }
            }
            const QRect corner(corners[only].second * 24, QSize(23, 23));
            QVERIFY2(!drawn.isEmpty() && corner.contains(drawn), qPrintable(corners[only].first));
        }

        clickTab(f.main, mainPageIndex(u"SH_ZAROVKY"));
        pick(f.lamp->verticalList(), 2);
        pick(f.lamp->horizontalList(), 2);
        click(3, 3);
        QCOMPARE(doc.lamps().at(0), (TPoleZarovka{3, 3, 31, 32, QStringLiteral("ZAR_CE_ZH")}));
        pick(f.lamp->verticalList(), 0);
        click(4, 3);
        QCOMPARE(doc.lamps().at(0).ODSAZENI_Y, 32);
        QCOMPARE(doc.lamps().at(1).ODSAZENI_Y, 0);

        pointer.mouseMoved(7 * 47, 2 * 47);
        pointer.mousePressed(Qt::LeftButton, 0, 0);
        QCOMPARE(f.corner->startCaption()->text(), QStringLiteral("7x2"));
        PanelSelection cells;
        cells.selectCells({2, 1}, {0, 3});
        const EditingView view = currentEditingView(pointer, f.selection->currentKind(), *f.corner, *f.lamp, cells);
        QCOMPARE(view.selection, (CellRect{0, 1, 2, 3}));
        QCOMPARE(QPoint(view.cursorColumn, view.cursorRow), QPoint(7, 2));
        QCOMPARE(view.currentKind, QStringLiteral("ZAR_CE_ZH"));
        QCOMPARE(view.lampOffsetX, 31);
        QCOMPARE(view.lampOffsetY, 0);
        QCOMPARE(view.cornerChecks, (std::array<bool, 4>{false, false, false, false}));
    }
};

QTEST_MAIN(TestEditingWidgets)
#include "test_editing_widgets.moc"
