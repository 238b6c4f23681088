#include "shell/FieldSizeBox.h"

#include "render/PanelPrint.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace kalmor {

namespace {

// The number of a text such as "40", "40 mm" or "32,5 mm".
std::optional<double> numberOf(QString text)
{
    static const QRegularExpression Pattern(QStringLiteral("^\\s*(\\d+(?:[.,]\\d+)?)\\s*(?:mm)?\\s*$"));
    const QRegularExpressionMatch m = Pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).replace(u',', u'.').toDouble();
}

QString textOf(double mm)
{
    return QLocale(QLocale::Czech).toString(mm, 'g', 4) + QStringLiteral(" mm");
}

}  // namespace

FieldSizeBox::FieldSizeBox(const QString &noSizeText, QWidget *parent) : QComboBox(parent), m_hasNone(!noSizeText.isEmpty())
{
    setObjectName(QStringLiteral("CB_VelikostPole"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // A few sizes need no completion, and the file dialog it sits in
    // closes the completers it finds.
    setCompleter(nullptr);
    if (m_hasNone)
        addItem(noSizeText);
    for (const double mm : {25.0, 30.0, 40.0})
        addItem(textOf(mm));
    setCurrentIndex(m_hasNone ? 0 : 2);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &FieldSizeBox::settle);
    connect(this, &QComboBox::currentTextChanged, this, [this] { emit millimetresChanged(millimetres()); });
}

double FieldSizeBox::millimetres() const
{
    const std::optional<double> mm = numberOf(currentText());
    return mm ? std::clamp(*mm, MinFieldMm, MaxFieldMm) : 0;
}

void FieldSizeBox::setMillimetres(double mm)
{
    if (mm <= 0 && m_hasNone)
        setCurrentIndex(0);
    else
        setCurrentText(textOf(std::clamp(mm, MinFieldMm, MaxFieldMm)));
}

void FieldSizeBox::settle()
{
    if (m_hasNone && currentText() == itemText(0))
        return;
    const std::optional<double> mm = numberOf(currentText());
    if (!mm)
        setMillimetres(m_hasNone ? 0 : 40);
    else
        setCurrentText(textOf(std::clamp(*mm, MinFieldMm, MaxFieldMm)));
}

}  // namespace kalmor
