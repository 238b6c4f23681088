#include "editing/ShiftDialog.h"

#include "editing/Glyphs.h"
#include "editing/ShiftElements.h"
#include "view/SpinEdit.h"

#include "document/StationDocument.h"

#include <QCheckBox>
#include <QToolButton>

namespace kalmor {

namespace {

QToolButton *arrowButton(QWidget *parent, const char *name, ArrowDirection direction, QPoint at)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1StringView(name));
    button->setGeometry(at.x(), at.y(), 41, 33);
    button->setIcon(arrowGlyph(direction));
    button->setIconSize({12, 12});
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

}  // namespace

TZ_PosunPolicek::TZ_PosunPolicek(StationHistory &history, UserPrompts &prompts,
                                 std::function<QSize()> appliedPanelSize, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_history(history), m_prompts(prompts), m_appliedPanelSize(std::move(appliedPanelSize))
{
    setObjectName(QStringLiteral("Z_PosunPolicek"));
    setWindowTitle(QStringLiteral("Posunout vše"));
    setModal(true);
    // Wide enough for the whole caption in the title bar and four digits
    // in the count: a panel has up to 4000 columns.
    setFixedSize(200, 140);

    QToolButton *up = arrowButton(this, "BB_Nahoru", ArrowDirection::Up, {80, 8});
    QToolButton *left = arrowButton(this, "BB_Doleva", ArrowDirection::Left, {23, 40});
    m_count = new SpinEdit(0, MaxPanelCells, this);
    m_count->setObjectName(QStringLiteral("SE_Pocet"));
    m_count->setEmptyValue(0);
    m_count->setGeometry(68, 46, 64, 22);
    m_count->setValue(1);
    QToolButton *right = arrowButton(this, "BB_Doprava", ArrowDirection::Right, {136, 40});
    QToolButton *down = arrowButton(this, "BB_Dolu", ArrowDirection::Down, {80, 72});
    // Unchecked, every element list moves; checked, the track alone, as
    // the first versions did.
    m_trackOnly = new QCheckBox(QStringLiteral("Jen koleje"), this);
    m_trackOnly->setObjectName(QStringLiteral("CH_JenKoleje"));
    m_trackOnly->move(8, 114);
    m_trackOnly->adjustSize();

    setTabOrder(up, down);
    setTabOrder(down, right);
    setTabOrder(right, left);
    setTabOrder(left, m_count);
    setTabOrder(m_count, m_trackOnly);

    connect(up, &QToolButton::clicked, this, &TZ_PosunPolicek::BB_NahoruClick);
    connect(down, &QToolButton::clicked, this, &TZ_PosunPolicek::BB_DoluClick);
    connect(left, &QToolButton::clicked, this, &TZ_PosunPolicek::BB_DolevaClick);
    connect(right, &QToolButton::clicked, this, &TZ_PosunPolicek::BB_DopravaClick);
}

void TZ_PosunPolicek::shiftBy(int dx, int dy)
{
    // A value typed past the bounds is corrected before it is read, as when
    // the focus leaves the field for the button.
    m_count->interpretText();
    const int n = m_count->value();
    const QSize panel = m_appliedPanelSize ? m_appliedPanelSize() : QSize(150, 50);
    shiftAllElements(m_history, dx * n, dy * n, panel.width(), panel.height(), m_prompts,
                     m_trackOnly->isChecked() ? ShiftScope::TrackOnly : ShiftScope::AllElements);
}

void TZ_PosunPolicek::BB_NahoruClick()
{
    shiftBy(0, -1);
}

void TZ_PosunPolicek::BB_DoluClick()
{
    shiftBy(0, 1);
}

void TZ_PosunPolicek::BB_DolevaClick()
{
    shiftBy(-1, 0);
}

void TZ_PosunPolicek::BB_DopravaClick()
{
    shiftBy(1, 0);
}

}  // namespace kalmor
