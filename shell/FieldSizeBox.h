#pragma once

#include <QComboBox>

namespace kalmor {

// "Velikost pole": the size of one cell on paper, 25, 30 or 40 mm as a
// desk's fields are, or typed, from 5 to 100 mm ("32", "32,5 mm"). A text
// out of the range is brought to the nearest bound when the field is
// left. With a text for it, the first item stands for no size.
class FieldSizeBox : public QComboBox {
    Q_OBJECT
public:
    explicit FieldSizeBox(const QString &noSizeText = {}, QWidget *parent = nullptr);

    // 0 when no size is chosen.
    double millimetres() const;
    void setMillimetres(double mm);

signals:
    void millimetresChanged(double mm);

private:
    void settle();
    bool m_hasNone;
};

}  // namespace kalmor
