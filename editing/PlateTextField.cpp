#include "editing/PlateTextField.h"

#include "document/StationText.h"
#include "document/UserPrompts.h"

#include <QLineEdit>

namespace kalmor {

QValidator::State PlateTextValidator::validate(QString &input, int &) const
{
    if (isStationText(input))
        return Acceptable;
    emit refused();
    return Invalid;
}

void guardPlateText(QLineEdit *field, UserPrompts *prompts)
{
    auto *validator = new PlateTextValidator(field);
    field->setValidator(validator);
    if (!prompts)
        return;
    // A modal message inside the field's own key handling would run the
    // event loop there; it comes once the key event is over.
    QObject::connect(validator, &PlateTextValidator::refused, field,
                     [prompts] { prompts->warn(refusedPlateTextMessage()); }, Qt::QueuedConnection);
}

}  // namespace kalmor
