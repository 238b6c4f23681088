#pragma once

#include <QValidator>

class QLineEdit;

namespace kalmor {

class UserPrompts;

// Refuses, as it is typed or pasted, a plate text the station file could
// not hold (see isStationText), and says so once the keystroke is over.
class PlateTextValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &position) const override;

signals:
    // A text was refused; delivered after the key event that typed it.
    void refused() const;
};

// Makes `field` a plate text field: what it refuses is told through
// `prompts` (when given) with one warning per refused keystroke or paste.
void guardPlateText(QLineEdit *field, UserPrompts *prompts);

}  // namespace kalmor
