#include "view/SpinEdit.h"

#include <QApplication>
#include <QLineEdit>
#include <QProxyStyle>
#include <QStyleFactory>

#include <algorithm>

namespace kalmor {

namespace {

// The arrow buttons of the application's style, made narrower; the edit
// field gets the width they give up.
class SlimSpinButtons : public QProxyStyle {
public:
    static constexpr int ButtonWidth = 11;

    SlimSpinButtons() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                         const QWidget *widget) const override
    {
        QRect r = QProxyStyle::subControlRect(control, option, sub, widget);
        if (control != CC_SpinBox)
            return r;
        const int spare = QProxyStyle::subControlRect(control, option, SC_SpinBoxUp, widget).width() - ButtonWidth;
        if (spare <= 0)
            return r;
        if (sub == SC_SpinBoxUp || sub == SC_SpinBoxDown)
            r.setLeft(r.left() + spare);
        else if (sub == SC_SpinBoxEditField)
            r.setRight(r.right() + spare);
        return r;
    }
};

bool isSign(QStringView text)
{
    return text == u"-" || text == u"+";
}

}  // namespace

SpinEdit::SpinEdit(int minimum, int maximum, QWidget *parent)
    : QSpinBox(parent), m_style(std::make_unique<SlimSpinButtons>())
{
    setStyle(m_style.get());
    setRange(minimum, maximum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!text.isEmpty() || !m_emptyValue)
            return;
        // Setting the value writes its text even when the value stays.
        setValue(*m_emptyValue);
        lineEdit()->selectAll();
    });
}

SpinEdit::~SpinEdit()
{
    // The widget must not refer to its style while it is taken down.
    setStyle(nullptr);
}

QValidator::State SpinEdit::validate(QString &text, int &) const
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || isSign(trimmed))
        return QValidator::Intermediate;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar ch = trimmed[i];
        const bool digit = ch >= u'0' && ch <= u'9';
        if (!digit && !(i == 0 && (ch == u'-' || ch == u'+')))
            return QValidator::Invalid;
    }
    // A number beyond the range, or too long for one, stands as typed
    // until editing ends.
    bool ok = false;
    const int v = trimmed.toInt(&ok);
    return ok && v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void SpinEdit::fixup(QString &text) const
{
    // A text that is no 32-bit whole number, one too long included, reads
    // as the minimum.
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    text = QString::number(ok ? std::clamp(v, minimum(), maximum()) : minimum());
}

}  // namespace kalmor
