#include "editing/TabRows.h"

#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace kalmor {

namespace {

constexpr int TabHeight = 19;

}  // namespace

TabRows::TabRows(QTabWidget *pages, int width, QWidget *parent) : QWidget(parent)
{
    pages->tabBar()->hide();
    int x = 0;
    int y = 0;
    for (int i = 0; i < pages->count(); ++i) {
        auto *tab = new QToolButton(this);
        tab->setObjectName(QStringLiteral("Tab_") + pages->widget(i)->objectName());
        tab->setText(pages->tabText(i));
        tab->setCheckable(true);
        tab->setAutoRaise(false);
        const int w = std::min(width, tab->sizeHint().width() + 6);
        if (x > 0 && x + w > width) {
            x = 0;
            y += TabHeight;
        }
        tab->setGeometry(x, y, w, TabHeight);
        x += w;
        connect(tab, &QToolButton::clicked, pages, [pages, i, this] {
            pages->setCurrentIndex(i);
            follow(pages->currentIndex());
        });
        m_tabs.push_back(tab);
    }
    setFixedSize(width, y + TabHeight);
    connect(pages, &QTabWidget::currentChanged, this, &TabRows::follow);
    follow(pages->currentIndex());
}

void TabRows::follow(int index)
{
    for (std::size_t i = 0; i < m_tabs.size(); ++i)
        m_tabs[i]->setChecked(int(i) == index);
}

}  // namespace kalmor
