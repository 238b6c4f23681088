#include "editing/CornerDivisionPage.h"

#include "editing/ElementPictures.h"

#include <QCheckBox>
#include <QLabel>
#include <QStyle>

#include <algorithm>

namespace kalmor {

namespace {

// Where each box stands around the picture, in the order of AllBorderPoints.
struct BoxPlace {
    const char *name;
    QRect geometry;
};
constexpr BoxPlace BoxPlaces[8] = {
    {"CH_Poloha_LH", {10, 8, 15, 17}},  {"CH_Poloha_LS", {9, 39, 16, 17}},
    {"CH_Poloha_LD", {8, 69, 15, 17}},  {"CH_Poloha_SH", {40, 8, 13, 17}},
    {"CH_Poloha_SD", {39, 70, 13, 17}}, {"CH_Poloha_PH", {68, 7, 25, 17}},
    {"CH_Poloha_PS", {68, 38, 25, 17}}, {"CH_Poloha_PD", {68, 69, 17, 17}},
};

QLabel *caption(QWidget *parent, const char *name, const QString &text, QPoint at, bool visible)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1StringView(name));
    label->move(at);
    label->adjustSize();
    label->setVisible(visible);
    return label;
}

}  // namespace

CornerDivisionPage::CornerDivisionPage(QWidget *parent) : QWidget(parent)
{
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("ZvolenaKolej"));
    m_picture->setGeometry(22, 23, ImageSize, ImageSize);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setAttribute(Qt::WA_TranslucentBackground);
    setChosenPicture(elementPixmap(QStringLiteral("KOL_sLSPS")));

    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        auto *box = new QCheckBox(this);
        box->setObjectName(QLatin1StringView(BoxPlaces[i].name));
        // The two middle boxes were laid out narrower than the indicator
        // of the styles in use: they grow to the right to show it whole.
        QRect place = BoxPlaces[i].geometry;
        place.setWidth(std::max(place.width(), box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box)));
        box->setGeometry(place);
        m_boxes[i] = box;
    }
    // The boxes stand over the picture's edges, so they are drawn above it.
    for (QCheckBox *box : m_boxes)
        box->raise();

    caption(this, "Label4", QStringLiteral("Počátek"), {8, 120}, false);
    m_start = caption(this, "L_Pocatek", QStringLiteral("0x0"), {56, 120}, false);
    caption(this, "Label6", QStringLiteral("Konec"), {8, 136}, false);
    m_end = caption(this, "L_Konec", QStringLiteral("0x0"), {56, 136}, true);

    preset(u"KOL_sLSPS");
}

void CornerDivisionPage::preset(QStringView kindName)
{
    const BorderPoints points = borderPointsOf(kindName);
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setChecked(points.contains(AllBorderPoints[i]));
    for (QCheckBox *box : m_boxes)
        box->setEnabled(box->isChecked());
}

void CornerDivisionPage::setFlags(const std::array<bool, 8> &flags)
{
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i]->setChecked(flags[i]);
        if (flags[i])
            m_boxes[i]->setEnabled(true);
    }
}

std::array<bool, 8> CornerDivisionPage::flags() const
{
    std::array<bool, 8> f{};
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        f[i] = m_boxes[i]->isChecked();
    return f;
}

CornerDivisionPage::Boxes CornerDivisionPage::boxes() const
{
    Boxes b;
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        b.checked[i] = m_boxes[i]->isChecked();
        b.enabled[i] = m_boxes[i]->isEnabled();
    }
    return b;
}

void CornerDivisionPage::setBoxes(const Boxes &boxes)
{
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i]->setChecked(boxes.checked[i]);
        m_boxes[i]->setEnabled(boxes.enabled[i]);
    }
}

std::array<bool, 4> CornerDivisionPage::cornerChecks() const
{
    return {box(BorderPoint::LH)->isChecked(), box(BorderPoint::LD)->isChecked(),
            box(BorderPoint::PH)->isChecked(), box(BorderPoint::PD)->isChecked()};
}

void CornerDivisionPage::setChosenPicture(const QPixmap &picture)
{
    m_picture->setPixmap(picture);
}

}  // namespace kalmor
