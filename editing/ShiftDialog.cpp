#include "editing/ShiftDialog.h"

#include "editing/Glyphs.h"
#include "editing/ShiftElements.h"
#include "view/SpinEdit.h"

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
    setFixedSize(135, 113);

    QToolButton *up = arrowButton(this, "BB_Nahoru", ArrowDirection::Up, {48, 8});
    QToolButton *left = arrowButton(this, "BB_Doleva", ArrowDirection::Left, {8, 40});
    m_count = new SpinEdit(0, 9, this);
    m_count->setObjectName(QStringLiteral("SE_Pocet"));
    m_count->setEmptyValue(0);
    m_count->setGeometry(53, 47, 33, 22);
    m_count->setValue(1);
    QToolButton *right = arrowButton(this, "BB_Doprava", ArrowDirection::Right, {88, 40});
    QToolButton *down = arrowButton(this, "BB_Dolu", ArrowDirection::Down, {48, 72});

    setTabOrder(up, down);
    setTabOrder(down, right);
    setTabOrder(right, left);
    setTabOrder(left, m_count);

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
    shiftAllElements(m_history, dx * n, dy * n, panel.width(), panel.height(), m_prompts);
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
