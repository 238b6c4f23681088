#pragma once

#include <QSpinBox>

namespace kalmor {

// A spin edit as the editing pages use it: an emptied text becomes "0",
// any whole number may be typed, and one outside the range goes to the
// nearest bound when the focus leaves; its value is the whole number its
// text holds (0 when none).
class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    SpinEdit(int minimum, int maximum, QWidget *parent = nullptr);

    // The whole number the text holds, or 0.
    int textValue() const;
    // The line edit, for tests that type into the field.
    QLineEdit *editor() const { return lineEdit(); }

    QValidator::State validate(QString &text, int &pos) const override;
    void fixup(QString &text) const override;
};

}  // namespace kalmor
