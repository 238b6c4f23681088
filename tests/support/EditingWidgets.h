#pragma once

// What the editing widget suites share: the pieces of the main window the
// element selection works on, and the clicks and keys of the user.
#include "document/StationHistory.h"
#include "editing/AssortmentView.h"
#include "editing/CornerDivisionPage.h"
#include "editing/EditingInputs.h"
#include "editing/ElementSelection.h"
#include "editing/LabelPropertiesPage.h"
#include "editing/LampPropertiesPage.h"
#include "editing/PaletteWindow.h"
#include "editing/PanelSelection.h"
#include "editing/Picking.h"
#include "editing/PointerInput.h"
#include "editing/ShiftDialog.h"
#include "view/SpinEdit.h"
#include "support/PinnedFont.h"
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

namespace kalmor::editingtest {


// Checked and enabled states of the eight boxes as "LH LS ..." strings.
inline QString boxStates(const CornerDivisionPage &page, bool enabled)
{
    QStringList on;
    for (BorderPoint p : AllBorderPoints) {
        const QCheckBox *box = page.box(p);
        if (enabled ? box->isEnabled() : box->isChecked())
            on << borderPointCode(p);
    }
    return on.join(u' ');
}

inline void clickTab(QTabWidget *tabs, int index)
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

inline void pick(QComboBox *list, int index)
{
    // The keyboard picks like the user does and reports "activated".
    list->setFocus();
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
}

inline void typeInto(SpinEdit *edit, const QString &text)
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

inline bool samePicture(const QLabel *a, const QLabel *b)
{
    return a->pixmap().toImage() == b->pixmap().toImage();
}


}  // namespace kalmor::editingtest
