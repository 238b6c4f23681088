#pragma once

#include "catalogue/Assortment.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QPixmap;

namespace kalmor {

// Content of the left panel's page SH_DeleniKO "Dělení KO v rozích": the
// picture of the chosen kind ZvolenaKolej with the eight corner-division
// boxes CH_Poloha_LH .. CH_Poloha_PD around it, and the drag captions.
// The boxes are the only state; presets are their only writer.
class CornerDivisionPage : public QWidget {
    Q_OBJECT
public:
    explicit CornerDivisionPage(QWidget *parent = nullptr);

    // checked := the box's point is in the kind's border points; enabled := checked.
    void preset(QStringView kindName);
    // A placed tile's flags read back (LH, LS, LD, SH, SD, PH, PS, PD): a
    // checked box is enabled too, so it can be cleared again.
    void setFlags(const std::array<bool, 8> &flags);

    // Checked states in the order LH, LS, LD, SH, SD, PH, PS, PD.
    std::array<bool, 8> flags() const;

    // Checked and enabled states of the eight boxes, as the user left them.
    struct Boxes {
        std::array<bool, 8> checked{};
        std::array<bool, 8> enabled{};
    };
    Boxes boxes() const;
    void setBoxes(const Boxes &boxes);
    // Checked states of the corner boxes LH, LD, PH, PD (what the preview draws).
    std::array<bool, 4> cornerChecks() const;

    QCheckBox *box(BorderPoint p) const { return m_boxes[std::size_t(p)]; }
    QLabel *chosenPicture() const { return m_picture; }   // ZvolenaKolej
    QLabel *startCaption() const { return m_start; }      // L_Pocatek
    QLabel *endCaption() const { return m_end; }          // L_Konec

    void setChosenPicture(const QPixmap &picture);

private:
    std::array<QCheckBox *, 8> m_boxes{};
    QLabel *m_picture = nullptr;
    QLabel *m_start = nullptr;
    QLabel *m_end = nullptr;
};

}  // namespace kalmor
