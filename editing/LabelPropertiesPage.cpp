#include "editing/LabelPropertiesPage.h"

#include "editing/PlateTextField.h"

#include <QLabel>
#include <QLineEdit>

namespace kalmor {

LabelPropertiesPage::LabelPropertiesPage(QWidget *parent) : QWidget(parent)
{
    m_caption = new QLabel(QStringLiteral("Text"), this);
    m_caption->setObjectName(QStringLiteral("Label7"));
    m_caption->move(8, 8);
    m_caption->adjustSize();
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setGeometry(8, 24, 137, 21);
    guardPlateText(m_edit, nullptr);
}

void LabelPropertiesPage::setPrompts(UserPrompts *prompts)
{
    // The field's own validator is replaced by one that tells the user.
    delete m_edit->validator();
    guardPlateText(m_edit, prompts);
}

QString LabelPropertiesPage::text() const
{
    return m_edit->text();
}

void LabelPropertiesPage::setText(const QString &text)
{
    m_edit->setText(text);
}

}  // namespace kalmor
