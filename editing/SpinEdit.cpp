#include "editing/SpinEdit.h"

#include <QLineEdit>

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

}  // namespace kalmor
