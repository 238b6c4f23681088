#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace kalmor {

// The help window with the release notes. The text may be edited; the
// changes last until the program ends and are never saved.
class TManual : public QDialog {
    Q_OBJECT
public:
    explicit TManual(QWidget *parent = nullptr);

    QPlainTextEdit *text() const { return m_text; }

private:
    QPlainTextEdit *m_text;
};

// The about window: the start-up picture with name, version and date.
class TAboutKalmor : public QDialog {
    Q_OBJECT
public:
    explicit TAboutKalmor(QWidget *parent = nullptr);
};

}  // namespace kalmor
