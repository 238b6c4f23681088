#include "editing/PaletteWindow.h"

#include "catalogue/Assortment.h"
#include "editing/AssortmentView.h"
#include "editing/TabRows.h"

#include <QCloseEvent>
#include <QIcon>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QToolButton>

#include <algorithm>

namespace kalmor {

namespace {

constexpr QSize DesignSize(343, 339);

// The height the page control needs: its pane's borders around the lowest
// selection frame, with as much room below it as above the first row.
int pageAreaHeight(const AssortmentView *pages)
{
    int lowestImage = 0;
    for (const AssortmentPage &page : pages->pages()) {
        for (const KindInfo *kind : page.kinds)
            lowestImage = std::max(lowestImage, paletteImagePosition(*kind).y());
    }
    const int content = lowestImage + FrameSize - FrameInset + (FirstImageTop - FrameInset);

    QStyleOptionTabWidgetFrame pane;
    pane.initFrom(pages);
    pane.rect = QRect(0, 0, DesignSize.width(), content);
    pane.lineWidth = pages->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, pages);
    const QRect inside = pages->style()->subElementRect(QStyle::SE_TabWidgetTabContents, &pane, pages);
    return content + (content - inside.height());
}

}  // namespace

TPaleta::TPaleta(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Paleta"));
    setWindowTitle(QStringLiteral("Paleta"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);

    m_assortment = new AssortmentView(AssortmentView::Layout::Palette, this);
    const auto *tabs = new TabRows(m_assortment, DesignSize.width(), this);
    // The tab rows take more height than the design gave them; the window
    // grows so that the frame around a picture of the lowest row stays whole.
    const int height = std::max(DesignSize.height(), tabs->height() + pageAreaHeight(m_assortment));
    setFixedSize(DesignSize.width(), height);
    m_assortment->setGeometry(0, tabs->height(), width(), height - tabs->height());

    m_anchor = new QToolButton(this);
    m_anchor->setObjectName(QStringLiteral("B_Kotva"));
    m_anchor->setGeometry(321, 42, 19, 17);
    m_anchor->setIcon(QIcon(QStringLiteral(":/glyphs/anchor.png")));
    m_anchor->setIconSize({13, 13});
    m_anchor->raise();
    connect(m_anchor, &QToolButton::clicked, this, &TPaleta::anchorClicked);
}

void TPaleta::closeEvent(QCloseEvent *event)
{
    // Closing hides the window; it lives until the program ends.
    event->accept();
    emit closed();
}

}  // namespace kalmor
