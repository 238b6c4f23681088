#pragma once

#include <QTabBar>
#include <QTabWidget>

#include <vector>

namespace kalmor {

// A tab bar that puts its tabs on as many rows as its width needs, the row
// holding the page in front nearest to the page. Qt's own tab bar keeps a
// single row and scrolls it, which on a narrow panel hides captions. Tabs
// hidden with setTabVisible take no place, so everything that shows and
// hides tabs through the page control keeps working unchanged.
class WrappingTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit WrappingTabBar(int rowWidth, QWidget *parent = nullptr);

    // Where tab `index` stands in the bar; empty for a hidden tab.
    QRect rowTabRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // One rectangle per tab, empty for hidden tabs.
    std::vector<QRect> tabRects() const;
    void drawTab(QPainter &painter, const std::vector<QRect> &rects, int index) const;

    int m_rowWidth;
};

// A page control whose tabs wrap onto several rows of `rowWidth` pixels.
class WrappingTabWidget : public QTabWidget {
    Q_OBJECT
public:
    explicit WrappingTabWidget(int rowWidth, QWidget *parent = nullptr);

    WrappingTabBar *rows() const { return m_rows; }

private:
    WrappingTabBar *m_rows;
};

}  // namespace kalmor
