#pragma once

#include "document/StationText.h"

#include <QDate>
#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace kalmor {

class StationDocument;
class StationHistory;
class UserPrompts;

// The station information dialog "O stanci": a view of the five station
// texts of the document. Typing writes into the document at once, through
// the history (typing in one field is one step until the dialog closes or
// another field is typed in); a load, New, undo or redo shows the
// document's texts again. Kept for the whole run.
class TAboutStation : public QDialog {
    Q_OBJECT
public:
    explicit TAboutStation(StationHistory &history, QWidget *parent = nullptr);

    // Where "today" comes from; tests fix it.
    void setDateSource(std::function<QDate()> today);

    // Step one of opening: offers today's date while the issue date is empty.
    void offerIssueDate(UserPrompts &prompts);
    // OStanici1Click: the date offer, then the dialog modally.
    using QDialog::open;
    void open(UserPrompts &prompts);

    QLineEdit *E_Stanice() const { return m_stanice; }
    QLineEdit *E_Popis() const { return m_popis; }
    QLineEdit *E_Autor() const { return m_autor; }
    QLineEdit *E_Verze() const { return m_verze; }
    QLineEdit *E_Vydano() const { return m_vydano; }
    QPushButton *Button1() const { return m_ok; }

private:
    void showDocumentTexts();

    StationHistory &m_history;
    const StationDocument &m_doc;
    std::function<QDate()> m_today;
    QLineEdit *m_stanice = nullptr;
    QLineEdit *m_popis = nullptr;
    QLineEdit *m_autor = nullptr;
    QLineEdit *m_verze = nullptr;
    QLineEdit *m_vydano = nullptr;
    QPushButton *m_ok = nullptr;
};

}  // namespace kalmor
