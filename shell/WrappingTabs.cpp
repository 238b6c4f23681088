#include "shell/WrappingTabs.h"

#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>

#include <algorithm>

namespace kalmor {

namespace {

// The tab standing right before `r` in the same row, or -1.
int leftNeighbour(const std::vector<QRect> &rects, const QRect &r)
{
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (!rects[i].isNull() && rects[i].y() == r.y() && rects[i].right() + 1 == r.left())
            return int(i);
    }
    return -1;
}

int rightNeighbour(const std::vector<QRect> &rects, const QRect &r)
{
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (!rects[i].isNull() && rects[i].y() == r.y() && rects[i].left() == r.right() + 1)
            return int(i);
    }
    return -1;
}

}  // namespace

WrappingTabBar::WrappingTabBar(int rowWidth, QWidget *parent) : QTabBar(parent), m_rowWidth(rowWidth)
{
    // The rows replace scrolling; captions are never shortened.
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setExpanding(false);
}

std::vector<QRect> WrappingTabBar::tabRects() const
{
    std::vector<std::vector<int>> rows;
    int x = 0;
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i))
            continue;
        const int w = std::min(m_rowWidth, tabSizeHint(i).width());
        if (rows.empty() || x + w > m_rowWidth) {
            rows.emplace_back();
            x = 0;
        }
        rows.back().push_back(i);
        x += w;
    }
    // As on a multi-line page control, the row of the page in front moves
    // next to the page.
    const auto current = std::find_if(rows.begin(), rows.end(), [this](const std::vector<int> &row) {
        return std::find(row.begin(), row.end(), currentIndex()) != row.end();
    });
    if (current != rows.end())
        std::rotate(current, current + 1, rows.end());

    std::vector<QRect> rects(std::size_t(std::max(0, count())));
    int y = 0;
    for (const std::vector<int> &row : rows) {
        int height = 0;
        for (const int i : row)
            height = std::max(height, tabSizeHint(i).height());
        x = 0;
        for (const int i : row) {
            const int w = std::min(m_rowWidth, tabSizeHint(i).width());
            rects[std::size_t(i)] = QRect(x, y, w, height);
            x += w;
        }
        y += height;
    }
    return rects;
}

QRect WrappingTabBar::rowTabRect(int index) const
{
    const std::vector<QRect> rects = tabRects();
    return index >= 0 && std::size_t(index) < rects.size() ? rects[std::size_t(index)] : QRect();
}

QSize WrappingTabBar::sizeHint() const
{
    int bottom = 0;
    for (const QRect &r : tabRects()) {
        if (!r.isNull())
            bottom = std::max(bottom, r.bottom() + 1);
    }
    return {m_rowWidth, bottom};
}

QSize WrappingTabBar::minimumSizeHint() const
{
    return sizeHint();
}

void WrappingTabBar::drawTab(QPainter &painter, const std::vector<QRect> &rects, int index) const
{
    QStyleOptionTab option;
    initStyleOption(&option, index);
    const QRect &r = rects[std::size_t(index)];
    option.rect = r;
    option.text = tabText(index);
    // Hovering is tracked on Qt's single-row layout, which is not shown.
    option.state &= ~QStyle::State_MouseOver;
    const int left = leftNeighbour(rects, r);
    const int right = rightNeighbour(rects, r);
    if (left < 0 && right < 0)
        option.position = QStyleOptionTab::OnlyOneTab;
    else if (left < 0)
        option.position = QStyleOptionTab::Beginning;
    else if (right < 0)
        option.position = QStyleOptionTab::End;
    else
        option.position = QStyleOptionTab::Middle;
    if (left >= 0 && left == currentIndex())
        option.selectedPosition = QStyleOptionTab::PreviousIsSelected;
    else if (right >= 0 && right == currentIndex())
        option.selectedPosition = QStyleOptionTab::NextIsSelected;
    else
        option.selectedPosition = QStyleOptionTab::NotAdjacent;
    style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
}

void WrappingTabBar::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    const std::vector<QRect> rects = tabRects();
    // The tab in front is drawn last: its shape overlaps its neighbours.
    for (int i = 0; i < count(); ++i) {
        if (i != currentIndex() && !rects[std::size_t(i)].isNull())
            drawTab(painter, rects, i);
    }
    if (currentIndex() >= 0 && !rects[std::size_t(currentIndex())].isNull())
        drawTab(painter, rects, currentIndex());
}

void WrappingTabBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const std::vector<QRect> rects = tabRects();
    const QPoint at = event->position().toPoint();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].contains(at)) {
            setCurrentIndex(int(i));
            break;
        }
    }
    event->accept();
}

// Qt's own handlers would hit-test its single-row layout.
void WrappingTabBar::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

void WrappingTabBar::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

WrappingTabWidget::WrappingTabWidget(int rowWidth, QWidget *parent)
    : QTabWidget(parent), m_rows(new WrappingTabBar(rowWidth, this))
{
    setTabBar(m_rows);
}

}  // namespace kalmor
