#include "editing/LampPropertiesPage.h"

#include "editing/ElementPictures.h"
#include "view/SpinEdit.h"

#include <QComboBox>
#include <QLabel>

#include <algorithm>

namespace kalmor {

namespace {

// The page was laid out for Tahoma at 11 pixels; the faces that stand in
// for it (DejaVu Sans) are wider, and at that size the captions would run
// into each other, past the 169-pixel panel and under its close button.
// A smaller face of their own (set here, so the size is right whatever
// window the page later lands in) keeps them whole.
constexpr int CaptionPixelSize = 9;
// Right edge of the offset fields: the "Odsazení" captions end there,
// clear of the panel's close button at the top right.
constexpr int OffsetColumnRight = 112 + 33;
constexpr int CaptionGap = 4;

QLabel *addCaption(QWidget *parent, const char *name, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1StringView(name));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(CaptionPixelSize);
    label->setFont(font);
    label->move(at);
    label->adjustSize();
    return label;
}

// Puts an offset caption over the right part of its field and shortens
// the list caption beside it if it would still reach it (a face wider
// than any found so far); the full caption then shows as a tool tip.
void fitCaptions(QLabel *listCaption, QLabel *offsetCaption)
{
    offsetCaption->move(std::min(offsetCaption->x(), OffsetColumnRight - offsetCaption->width()),
                        offsetCaption->y());
    const int room = offsetCaption->x() - CaptionGap - listCaption->x();
    if (listCaption->width() <= room)
        return;
    const QString full = listCaption->text();
    listCaption->setToolTip(full);
    listCaption->setText(listCaption->fontMetrics().elidedText(full, Qt::ElideRight, room));
    listCaption->resize(room, listCaption->height());
}

QComboBox *addList(QWidget *parent, const char *name, const QStringList &items, QRect geometry)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(QLatin1StringView(name));
    list->addItems(items);
    list->setGeometry(geometry);
    return list;
}

SpinEdit *addOffset(QWidget *parent, const char *name, QRect geometry)
{
    auto *edit = new SpinEdit(0, 47, parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setEmptyValue(0);
    edit->setGeometry(geometry);
    return edit;
}

// Offset for an alignment: 0 at the start edge, half the free room in the
// middle, all of it at the far edge (whole-number division toward zero).
int alignedOffset(int index, int cell, int picture)
{
    switch (index) {
    case 1:
        return (cell - picture) / 2;
    case 2:
        return cell - picture;
    default:
        return 0;
    }
}

}  // namespace

LampPropertiesPage::LampPropertiesPage(std::function<int()> cellSize, QWidget *parent)
    : QWidget(parent), m_cellSize(std::move(cellSize))
{
    QLabel *verticalCaption = addCaption(this, "Label1", QStringLiteral("Zarovnání svisle"), {8, 10});
    m_vertical = addList(this, "CB_ZAR_ZarovnaniSvisle",
                         {QStringLiteral("Nahoře"), QStringLiteral("Uprostřed"), QStringLiteral("Dole")},
                         {8, 24, 97, 21});
    QLabel *offsetYCaption = addCaption(this, "Label3", QStringLiteral("Odsazení"), {112, 10});
    m_offsetY = addOffset(this, "SE_ZAR_OdsazeniY", {112, 24, 33, 22});
    QLabel *horizontalCaption = addCaption(this, "Label2", QStringLiteral("Zarovnání vodorov."), {8, 56});
    m_horizontal = addList(this, "CB_ZAR_ZarovnaniVodorovne",
                           {QStringLiteral("Vlevo"), QStringLiteral("Uprostřed"), QStringLiteral("Vpravo")},
                           {7, 69, 98, 21});
    m_horizontal->setCurrentIndex(1);
    QLabel *offsetXCaption = addCaption(this, "Label5", QStringLiteral("Odsazení"), {113, 56});
    m_offsetX = addOffset(this, "SE_ZAR_OdsazeniX", {112, 69, 33, 22});
    fitCaptions(verticalCaption, offsetYCaption);
    fitCaptions(horizontalCaption, offsetXCaption);

    // One lamp picture's size serves for all four lamps.
    const QSize lampPicture = elementPixmap(QStringLiteral("ZAR_CE_ZH")).size();
    if (!lampPicture.isEmpty())
        m_lampSize = lampPicture;

    // activated is emitted only for the user's pick, so setting up the
    // lists above computes nothing: "Uprostřed" stands beside offset 0.
    connect(m_vertical, &QComboBox::activated, this, &LampPropertiesPage::applyAlignment);
    connect(m_horizontal, &QComboBox::activated, this, &LampPropertiesPage::applyAlignment);
    connect(m_offsetX, &QSpinBox::valueChanged, this, &LampPropertiesPage::offsetsChanged);
    connect(m_offsetY, &QSpinBox::valueChanged, this, &LampPropertiesPage::offsetsChanged);
}

void LampPropertiesPage::setOffsets(qint32 x, qint32 y)
{
    m_offsetX->setValue(x);
    m_offsetY->setValue(y);
}

qint32 LampPropertiesPage::offsetX() const
{
    return m_offsetX->value();
}

qint32 LampPropertiesPage::offsetY() const
{
    return m_offsetY->value();
}

void LampPropertiesPage::applyAlignment()
{
    const int cell = m_cellSize ? m_cellSize() : 47;
    // Written through the spin edits, which hold them within 0 to 47.
    m_offsetY->setValue(alignedOffset(m_vertical->currentIndex(), cell, m_lampSize.height()));
    m_offsetX->setValue(alignedOffset(m_horizontal->currentIndex(), cell, m_lampSize.width()));
}

}  // namespace kalmor
