#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace kalmor {

class UserPrompts;

// Content of the page SH_PopiskyL "Popisky": the field Edit1 (caption
// "Text", Label7) holds the text of the next plate placed; picking a
// plate copies its text there. Empty places a plate without text. Text
// the station file could not hold is refused as it is typed.
class LabelPropertiesPage : public QWidget {
    Q_OBJECT
public:
    explicit LabelPropertiesPage(QWidget *parent = nullptr);

    // Where refusals are told; none: refused silently.
    void setPrompts(UserPrompts *prompts);

    QString text() const;
    void setText(const QString &text);

    QLineEdit *textField() const { return m_edit; }  // Edit1

private:
    QLabel *m_caption = nullptr;
    QLineEdit *m_edit = nullptr;
};

}  // namespace kalmor
