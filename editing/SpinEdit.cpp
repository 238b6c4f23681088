#include "editing/SpinEdit.h"

#include <QLineEdit>

#include <algorithm>

namespace kalmor {

SpinEdit::SpinEdit(int minimum, int maximum, QWidget *parent) : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    // The field is never left empty: an emptied text reads as 0 and shows it
    // (setting the value rewrites the text even when the value stays 0).
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text.isEmpty())
            setValue(0);
    });
}

int SpinEdit::textValue() const
{
    bool ok = false;
    const int v = cleanText().toInt(&ok);
    return ok ? v : 0;
}

QValidator::State SpinEdit::validate(QString &text, int &pos) const
{
    // QSpinBox refuses the keystroke that takes a number past a bound, so
    // "50" could never be typed into a field of 0 to 47; here it stands
    // until the focus leaves and fixup() brings it to the bound.
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed == u'-' || trimmed == u'+')
        return QValidator::Intermediate;
    bool ok = false;
    const qlonglong v = trimmed.toLongLong(&ok);
    if (!ok)
        return QSpinBox::validate(text, pos);
    return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void SpinEdit::fixup(QString &text) const
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (ok)
        text = QString::number(std::clamp<qlonglong>(v, minimum(), maximum()));
    else
        QSpinBox::fixup(text);
}

}  // namespace kalmor
