#include "editing/PaletteWindow.h"

#include "editing/AssortmentView.h"
#include "editing/TabRows.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QToolButton>

namespace kalmor {

TPaleta::TPaleta(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Paleta"));
    setWindowTitle(QStringLiteral("Paleta"));
    setFixedSize(343, 339);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);

    m_assortment = new AssortmentView(AssortmentView::Layout::Palette, this);
    const auto *tabs = new TabRows(m_assortment, width(), this);
    m_assortment->setGeometry(0, tabs->height(), width(), height() - tabs->height());

    m_anchor = new QToolButton(this);
    m_anchor->setObjectName(QStringLiteral("B_Kotva"));
    m_anchor->setGeometry(321, 42, 19, 17);
    m_anchor->setIcon(QIcon(QStringLiteral(":/glyphs/anchor.png")));
    m_anchor->setIconSize({13, 13});
    m_anchor->raise();
    connect(m_anchor, &QToolButton::clicked, this, &TPaleta::anchorClicked);
}

void TPaleta::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        // First showing only: later ones keep where the user left it.
        m_placed = true;
        QRect area = m_centreArea;
        if (area.isNull()) {
            if (const QScreen *screen = QGuiApplication::primaryScreen())
                area = screen->availableGeometry();
        }
        if (!area.isNull()) {
            QRect frame = frameGeometry();
            frame.moveCenter(area.center());
            move(frame.topLeft());
        }
    }
    QWidget::showEvent(event);
}

void TPaleta::closeEvent(QCloseEvent *event)
{
    // Closing hides the window; it lives until the program ends.
    event->accept();
    emit closed();
}

}  // namespace kalmor
