#pragma once

#include <QRect>
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

    // Where the window is centred when first shown: the splash window's
    // geometry. Without it, the primary screen is used.
    void setFirstCentre(const QRect &area) { m_centreArea = area; }

signals:
    void closed();
    void anchorClicked();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    AssortmentView *m_assortment = nullptr;
    QToolButton *m_anchor = nullptr;
    QRect m_centreArea;
    bool m_placed = false;
};

}  // namespace kalmor
