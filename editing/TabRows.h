#pragma once

#include <QWidget>

#include <vector>

class QTabWidget;
class QToolButton;

namespace kalmor {

// The tabs of a page control on as many rows as its width needs: Qt's own
// tab bar cannot wrap, and the palette is too narrow for one row. A click
// brings the page to the front as a click on the control's own tab would;
// page changes made from code are followed. Each tab is named "Tab_" and
// the page's object name.
class TabRows : public QWidget {
    Q_OBJECT
public:
    TabRows(QTabWidget *pages, int width, QWidget *parent);

private:
    void follow(int index);

    std::vector<QToolButton *> m_tabs;
};

}  // namespace kalmor
