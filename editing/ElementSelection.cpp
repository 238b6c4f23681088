#include "editing/ElementSelection.h"

#include "editing/AssortmentView.h"
#include "editing/CornerDivisionPage.h"
#include "editing/PaletteWindow.h"

#include <QAction>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>

#include <utility>

namespace kalmor {

ElementSelection::ElementSelection(const SelectionWidgets &widgets, QObject *parent)
    : QObject(parent), m_w(widgets)
{
    if (m_w.mainAssortment) {
        connect(m_w.mainAssortment, &AssortmentView::imageClicked, this, &ElementSelection::mainImageClick);
        connect(m_w.mainAssortment, &AssortmentView::pageChangedByUser, this, &ElementSelection::mainPageChange);
    }
    if (m_w.palette) {
        connect(m_w.palette->assortment(), &AssortmentView::imageClicked, this,
                &ElementSelection::paletteImageClick);
        connect(m_w.palette->assortment(), &AssortmentView::pageChangedByUser, this,
                &ElementSelection::palettePageChange);
        connect(m_w.palette, &TPaleta::anchorClicked, this, &ElementSelection::paletteAnchor);
        connect(m_w.palette, &TPaleta::closed, this, &ElementSelection::paletteClosed);
    }
}

void ElementSelection::chooseKind(const AssortmentImage &image)
{
    m_kind = image.objectName();
    if (m_w.chosenKindLabel)
        m_w.chosenKindLabel->setText(m_kind);
    if (m_w.cornerPage) {
        m_w.cornerPage->setChosenPicture(image.pixmap());
        m_w.cornerPage->preset(m_kind);
    }
    emit currentKindChanged(m_kind);
}

void ElementSelection::moveMainFramesLeft(int left)
{
    if (!m_w.mainAssortment)
        return;
    for (SelectionFrame *frame : m_w.mainAssortment->frames())
        frame->move(left, frame->y());
}

void ElementSelection::NastaveniRamecku(const AssortmentImage &image)
{
    if (!m_w.palette)
        return;
    for (SelectionFrame *frame : m_w.palette->assortment()->frames())
        frame->move(image.pos() - QPoint(FrameInset, FrameInset));
}

bool ElementSelection::chooseKindByName(const QString &kind)
{
    const KindInfo *info = findKind(kind);
    AssortmentImage *image = m_w.mainAssortment ? m_w.mainAssortment->image(kind) : nullptr;
    if (!info || !image)
        return false;
    // The picture the user sees: on the palette while it floats.
    if (m_w.palette && m_w.palette->isVisible()) {
        if (AssortmentImage *onPalette = m_w.palette->assortment()->image(kind)) {
            m_w.palette->assortment()->bringToFront(info->palettePage);
            paletteImageClick(onPalette);
            return true;
        }
    }
    if (m_w.mainAssortment->currentIndex() != info->mainPage) {
        m_w.mainAssortment->bringToFront(info->mainPage);
        mainPageChange(info->mainPage);
    }
    mainImageClick(image);
    return true;
}

void ElementSelection::keepChoice()
{
    m_kept = Choice{m_kind, m_w.cornerPage ? m_w.cornerPage->boxes() : CornerDivisionPage::Boxes{}};
}

void ElementSelection::restoreKeptChoice()
{
    if (!m_kept)
        return;
    const Choice kept = *std::exchange(m_kept, std::nullopt);
    chooseKindByName(kept.kind);
    if (m_w.cornerPage)
        m_w.cornerPage->setBoxes(kept.boxes);
}

void ElementSelection::mainImageClick(AssortmentImage *image)
{
    moveMainFramesLeft(image->x() - FrameInset);
    chooseKind(*image);
}

void ElementSelection::paletteImageClick(AssortmentImage *image)
{
    NastaveniRamecku(*image);
    mainImageClick(image);
}

void ElementSelection::showLeftPage(QWidget *page)
{
    QTabWidget *panel = m_w.leftPanel;
    if (!panel)
        return;
    const int index = page ? panel->indexOf(page) : -1;
    for (int i = 0; i < panel->count(); ++i)
        panel->setTabVisible(i, i == index);
    if (index >= 0)
        panel->setCurrentIndex(index);
    // With every tab hidden QTabWidget still shows its current page, so
    // the page area itself is hidden when no page belongs.
    if (auto *stack = panel->findChild<QStackedWidget *>(QStringLiteral("qt_tabwidget_stackedwidget"),
                                                         Qt::FindDirectChildrenOnly))
        stack->setVisible(index >= 0);
}

void ElementSelection::mainPageChange(int index)
{
    moveMainFramesLeft(MainFrameResetLeft);
    const std::span<const AssortmentPage> pages = mainPages();
    QWidget *leftPage = nullptr;
    if (index >= 0 && std::size_t(index) < pages.size()) {
        const AssortmentPage &page = pages[std::size_t(index)];
        if (page.firstKind) {
            if (const AssortmentImage *first = m_w.mainAssortment->image(QLatin1StringView(page.firstKind)))
                chooseKind(*first);
            switch (elementClassOf(QString::fromLatin1(page.firstKind))) {
            case ElementClass::Lamp:
                leftPage = m_w.lampTab;
                break;
            case ElementClass::LabelPlate:
            case ElementClass::DeskElement:  // a desk element's designation is typed on the plates' page
                leftPage = m_w.labelTab;
                break;
            default:
                leftPage = m_w.cornerTab;
                break;
            }
        }
    }
    showLeftPage(leftPage);
    if (m_w.chosenKindLabel)
        m_w.chosenKindLabel->setText(m_kind);
}

void ElementSelection::palettePageChange(int index)
{
    AssortmentView *view = m_w.palette->assortment();
    const std::span<const AssortmentPage> pages = palettePages();
    if (index >= 0 && std::size_t(index) < pages.size()) {
        const AssortmentPage &page = pages[std::size_t(index)];
        const AssortmentImage *first = page.firstKind ? view->image(QLatin1StringView(page.firstKind)) : nullptr;
        if (first) {
            chooseKind(*first);
            if (SelectionFrame *frame = view->frameOfPage(index))
                frame->move(first->pos() - QPoint(FrameInset, FrameInset));
        }
    }
    if (m_w.chosenKindLabel)
        m_w.chosenKindLabel->setText(m_kind);
}

void ElementSelection::synchronise()
{
    const QString first = QStringLiteral("KOL_sLSPS");
    if (m_w.palette) {
        AssortmentView *palette = m_w.palette->assortment();
        palette->bringToFront(u"SH_PRIME");
        if (const AssortmentImage *image = palette->image(first)) {
            moveMainFramesLeft(image->x() - FrameInset);
            chooseKind(*image);
        }
    }
    if (m_w.mainAssortment) {
        m_w.mainAssortment->bringToFront(u"SH_PRIME");
        moveMainFramesLeft(MainFrameResetLeft);
        if (const AssortmentImage *image = m_w.mainAssortment->image(first))
            chooseKind(*image);
    }
}

void ElementSelection::paletteAnchor()
{
    if (m_w.palette)
        m_w.palette->close();
    if (m_w.dockedPanel)
        m_w.dockedPanel->show();
    if (m_w.assortmentAction)
        m_w.assortmentAction->setChecked(true);
    if (m_w.dockAction)
        m_w.dockAction->setChecked(true);
    synchronise();
}

void ElementSelection::paletteClosed()
{
    if (m_w.assortmentAction)
        m_w.assortmentAction->setChecked(false);
    if (m_w.dockAction)
        m_w.dockAction->setEnabled(false);
}

}  // namespace kalmor
