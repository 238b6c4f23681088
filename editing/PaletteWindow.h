#pragma once

#include <QWidget>

class QToolButton;

namespace kalmor {

class AssortmentView;

// The floating assortment "Paleta": a tool window above the main window
// with its own PC_Sortiment and an anchor button B_Kotva. Hidden at start;
// closing only hides it. Every close (close box, anchor, or close() from a
// command) emits closed(); a plain hide() does not.
class TPaleta : public QWidget {
    Q_OBJECT
public:
    explicit TPaleta(QWidget *parent = nullptr);

    AssortmentView *assortment() const { return m_assortment; }
    QToolButton *anchorButton() const { return m_anchor; }

signals:
    void closed();
    void anchorClicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    AssortmentView *m_assortment = nullptr;
    QToolButton *m_anchor = nullptr;
};

}  // namespace kalmor
