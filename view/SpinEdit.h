#pragma once

#include <QSpinBox>

#include <memory>
#include <optional>

class QStyle;

namespace kalmor {

// A spin edit as the program's fields use it. Digits and a sign can be
// typed freely: the value acts as soon as the text is a whole number within
// the range, while the text itself is corrected only when editing ends
// (Enter, the focus leaves, an arrow button), a number beyond the range to
// the nearest bound and a text that is no number to the minimum. So the
// value never leaves the range, and typing is never rewritten under the
// user's hands. Slim arrow buttons leave a narrow field room to show every
// value it can hold.
class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    SpinEdit(int minimum, int maximum, QWidget *parent = nullptr);
    ~SpinEdit() override;

    // A field with an empty value shows it, selected, as soon as its text
    // is emptied, so that what is typed next replaces it.
    void setEmptyValue(int value) { m_emptyValue = value; }

    // The line edit, for tests that type into the field.
    QLineEdit *editor() const { return lineEdit(); }

    QValidator::State validate(QString &text, int &pos) const override;
    void fixup(QString &text) const override;

private:
    std::optional<int> m_emptyValue;
    std::unique_ptr<QStyle> m_style;
};

}  // namespace kalmor
