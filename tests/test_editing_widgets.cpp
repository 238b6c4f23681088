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

namespace {

// Checked and enabled states of the eight boxes as "LH LS ..." strings.
QString boxStates(const CornerDivisionPage &page, bool enabled)
{
    QStringList on;
    for (BorderPoint p : AllBorderPoints) {
        const QCheckBox *box = page.box(p);
        if (enabled ? box->isEnabled() : box->isChecked())
            on << borderPointCode(p);
    }
    return on.join(u' ');
}

void clickTab(QTabWidget *tabs, int index)
{
    // The palette shows its tabs on several rows of its own.
    if (tabs->tabBar()->isHidden()) {
        const QString rowTab = QStringLiteral("Tab_") + tabs->widget(index)->objectName();
        QTest::mouseClick(tabs->parentWidget()->findChild<QToolButton *>(rowTab), Qt::LeftButton);
        return;
    }
    QTabBar *bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void pick(QComboBox *list, int index)
{
    // The keyboard picks like the user does and reports "activated".
    list->setFocus();
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
}

void typeInto(SpinEdit *edit, const QString &text)
{
    edit->editor()->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit->editor(), Qt::Key_Backspace);
    else
        QTest::keyClicks(edit->editor(), text);
}

// The pieces of the main window the selection works on.
struct Fixture {
    QWidget window;
    QWidget *docked = new QWidget(&window);
    AssortmentView *main = new AssortmentView(AssortmentView::Layout::Main, docked);
    TPaleta *palette = new TPaleta(&window);
    QLabel *chosen = new QLabel(QStringLiteral("KOL_sLSPS"), &window);
    QTabWidget *left = new QTabWidget(&window);
    CornerDivisionPage *corner = new CornerDivisionPage;
    LampPropertiesPage *lamp = new LampPropertiesPage([] { return 47; });
    LabelPropertiesPage *label = new LabelPropertiesPage;
    QAction *assortment = new QAction(QStringLiteral("Sortiment prvků"), &window);
    QAction *dock = new QAction(QStringLiteral("Ukotvit panel součástí"), &window);
    ElementSelection *selection = nullptr;

    Fixture()
    {
        window.resize(900, 500);
        docked->setObjectName(QStringLiteral("P_Sortiment"));
        docked->setGeometry(0, 0, 900, 92);
        main->setGeometry(docked->rect());
        left->setGeometry(0, 100, 169, 300);
        corner->setObjectName(QStringLiteral("SH_DeleniKO"));
        lamp->setObjectName(QStringLiteral("SH_ZarovkyL"));
        label->setObjectName(QStringLiteral("SH_PopiskyL"));
        left->addTab(corner, QStringLiteral("Dělení KO v rozích"));
        left->addTab(lamp, QStringLiteral("Žárovky"));
        left->addTab(label, QStringLiteral("Popisky"));
        for (QAction *a : {assortment, dock}) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        selection = new ElementSelection({main, palette, chosen, corner, left, corner, lamp, label, assortment,
                                          dock, docked},
                                         &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    QStringList visibleLeftTabs() const
    {
        QStringList out;
        for (int i = 0; i < left->count(); ++i) {
            if (left->isTabVisible(i))
                out << left->widget(i)->objectName();
        }
        return out;
    }
    bool leftPageAreaVisible() const
    {
        return left->findChild<QStackedWidget *>()->isVisible();
    }
    QList<int> mainFrameLefts() const
    {
        QList<int> out;
        for (const SelectionFrame *f : main->frames())
            out << f->x();
        return out;
    }
    QList<QPoint> paletteFramePositions() const
    {
        QList<QPoint> out;
        for (const SelectionFrame *f : palette->assortment()->frames())
            out << f->pos();
        return out;
    }
};

bool samePicture(const QLabel *a, const QLabel *b)
{
    return a->pixmap().toImage() == b->pixmap().toImage();
}

}  // namespace

class TestEditingWidgets : public QObject {
    Q_OBJECT
private slots:
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
        QVERIFY(edit && !edit->isEnabled() && edit->text().isEmpty());
    }

    void lampPageFitsTheLeftPanel()
    {
        // As in the main window: an 11-pixel "Tahoma" around the page, in a
        // 169-pixel panel whose page area is about 161 pixels wide.
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
        QCOMPARE(dialog.size(), QSize(135, 113));
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.countEdit()->value(), 1);
        QCOMPARE(dialog.countEdit()->geometry(), QRect(53, 47, 33, 22));
        auto *up = dialog.findChild<QToolButton *>(QStringLiteral("BB_Nahoru"));
        auto *down = dialog.findChild<QToolButton *>(QStringLiteral("BB_Dolu"));
        auto *left = dialog.findChild<QToolButton *>(QStringLiteral("BB_Doleva"));
        auto *right = dialog.findChild<QToolButton *>(QStringLiteral("BB_Doprava"));
        QVERIFY(up && down && left && right);
        QCOMPARE(left->geometry(), QRect(8, 40, 41, 33));
        QCOMPARE(up->iconSize(), QSize(12, 12));
        QVERIFY(!up->icon().isNull());
        QCOMPARE(up->nextInFocusChain(), down);
        QCOMPARE(down->nextInFocusChain(), right);
        QCOMPARE(right->nextInFocusChain(), left);
        QCOMPARE(left->nextInFocusChain(), dialog.countEdit());

        TPolePanelu t;
        t.X = 140;
        t.Y = 10;
        t.NAME = QStringLiteral("KOL_sLSPS");
        doc.tiles().append(t);
        doc.setStatus(DocumentStatus::Saved);
        dialog.show();
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
        // A typed count beyond 9 stands until the field is left, which a
        // click on an arrow does first: the shift is by 9.
        typeInto(dialog.countEdit(), QStringLiteral("12"));
        QCOMPARE(dialog.countEdit()->text(), QStringLiteral("12"));
        QTest::mouseClick(right, Qt::LeftButton);
        QCOMPARE(doc.tiles().at(0).X, 149 + 9);
        QCOMPARE(dialog.countEdit()->text(), QStringLiteral("9"));
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
        QCOMPARE(main.frames().size(), std::size_t(6));
        QCOMPARE(palette.frames().size(), std::size_t(5));
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
        QVERIFY(!main.frameOfPage(5));

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
        QCOMPARE(f.mainFrameLefts(), QList<int>(6, orange->x() - 4));
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
        QCOMPARE(f.mainFrameLefts(), QList<int>(6, 3));
        QCOMPARE(f.visibleLeftTabs(), QStringList({"SH_ZarovkyL"}));
        QCOMPARE(f.left->currentWidget(), f.lamp);
        QVERIFY(f.leftPageAreaVisible());

        clickTab(f.main, mainPageIndex(u"TabSheet1"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("ZAR_CE_ZH"));
        QVERIFY(f.visibleLeftTabs().isEmpty());
        QVERIFY(!f.leftPageAreaVisible());
        QVERIFY(!f.lamp->isVisible());

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
        QCOMPARE(f.paletteFramePositions(), QList<QPoint>(5, QPoint(165, 227)));
        QCOMPARE(f.mainFrameLefts(), QList<int>(6, 165));
        QCOMPARE(boxStates(*f.corner, false), QStringLiteral("LS SD PH"));

        // A palette page change puts only that page's frame around its first kind.
        clickTab(view, palettePageIndex(u"SH_PRIME"));
        QCOMPARE(view->frameOfPage(0)->pos(), QPoint(3, 3));
        QCOMPARE(view->frameOfPage(1)->pos(), QPoint(165, 227));
        clickTab(view, palettePageIndex(u"SH_NAVESTIDLA"));
        QCOMPARE(f.selection->currentKind(), QStringLiteral("KOL_sLSPS"));
        QCOMPARE(f.mainFrameLefts(), QList<int>(6, 165));
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
        QCOMPARE(f.mainFrameLefts(), QList<int>(6, f.main->image(QStringLiteral("VYH_sLHPD_sLHSD"))->x() - 4));
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
        QCOMPARE(f.mainFrameLefts(), QList<int>(6, 3));
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

QTEST_MAIN(TestEditingWidgets)
#include "test_editing_widgets.moc"
