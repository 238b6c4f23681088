#include "document/TAboutStation.h"

#include "document/StationHistory.h"
#include "document/StationText.h"
#include "document/UserPrompts.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include <algorithm>

namespace kalmor {

namespace {

// Refuses what the station file could not store; the length limit is kept
// by maxLength.
class StationTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override { return isStationText(input) ? Acceptable : Invalid; }
};

// A field whose typing limit never cuts text that came from the document.
class StationField {
public:
    StationField(QLineEdit *edit, int limit) : m_edit(edit), m_limit(limit) {}

    // Text from the document is shown whole; typing may then only shorten it.
    void show(const QString &text) const
    {
        if (m_edit->text() == text)
            return;
        m_edit->setMaxLength(std::max(m_limit, int(text.size())));
        m_edit->setText(text);
    }

    // After typing: a text longer than the limit may not grow again.
    // setMaxLength sets the text again and moves the cursor to the end, so
    // it is only called when the limit really drops, keeping the cursor.
    void typed() const
    {
        const int allowed = std::max(m_limit, int(m_edit->text().size()));
        if (allowed == m_edit->maxLength())
            return;
        const int cursor = m_edit->cursorPosition();
        m_edit->setMaxLength(allowed);
        m_edit->setCursorPosition(cursor);
    }

private:
    QLineEdit *m_edit;
    int m_limit;
};

QLabel *label(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

QLineEdit *edit(QWidget *parent, const char *name, QRect geometry, int limit)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(geometry);
    e->setMaxLength(limit);
    e->setValidator(new StationTextValidator(e));
    return e;
}

}  // namespace

TAboutStation::TAboutStation(StationHistory &history, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), m_history(history), m_doc(history.document()),
      m_today([] {
          return QDate::currentDate();
      })
{
    setObjectName(QStringLiteral("AboutStation"));
    setWindowTitle(QStringLiteral("O stanci"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(407, 142);

    label(this, "Label1", QStringLiteral("Stanice"), 8, 19);
    m_stanice = edit(this, "E_Stanice", {64, 16, 337, 21}, 50);
    label(this, "Label5", QStringLiteral("Popis"), 8, 43);
    m_popis = edit(this, "E_Popis", {64, 40, 337, 21}, 50);
    label(this, "Label2", QStringLiteral("Autor"), 8, 67);
    m_autor = edit(this, "E_Autor", {64, 64, 337, 21}, 50);
    label(this, "Label3", QStringLiteral("Verze"), 8, 91);
    m_verze = edit(this, "E_Verze", {64, 88, 89, 21}, 10);
    label(this, "Label4", QStringLiteral("Vydáno"), 8, 115);
    m_vydano = edit(this, "E_Vydano", {64, 112, 89, 21}, 10);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setGeometry(325, 108, 75, 25);
    m_ok->setAutoDefault(false);

    // The description comes second on screen but last in the tab order.
    setTabOrder(m_stanice, m_autor);
    setTabOrder(m_autor, m_verze);
    setTabOrder(m_verze, m_vydano);
    setTabOrder(m_vydano, m_ok);
    setTabOrder(m_ok, m_popis);

    // Typing writes into the document at once.
    const auto bind = [this](QLineEdit *e, int limit, DocumentField target) {
        const StationField field(e, limit);
        connect(e, &QLineEdit::textEdited, this, [this, field, target](const QString &typed) {
            m_history.type(target, typed);
            field.typed();
        });
    };
    bind(m_stanice, 50, DocumentField::StationName);
    bind(m_popis, 50, DocumentField::Description);
    bind(m_autor, 50, DocumentField::Author);
    bind(m_verze, 10, DocumentField::Version);
    bind(m_vydano, 10, DocumentField::IssueDate);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    // Typing after the dialog was closed and opened again is a new step.
    connect(this, &QDialog::finished, &m_history, &StationHistory::endTyping);
    connect(&m_doc, &StationDocument::textsChanged, this, &TAboutStation::showDocumentTexts);
    showDocumentTexts();
}

void TAboutStation::setDateSource(std::function<QDate()> today)
{
    m_today = std::move(today);
}

void TAboutStation::showDocumentTexts()
{
    StationField(m_stanice, 50).show(m_doc.stationName());
    StationField(m_popis, 50).show(m_doc.description());
    StationField(m_autor, 50).show(m_doc.author());
    StationField(m_verze, 10).show(m_doc.version());
    StationField(m_vydano, 10).show(m_doc.issueDate());
}

void TAboutStation::offerIssueDate(UserPrompts &prompts)
{
    if (!m_doc.issueDate().isEmpty())
        return;
    if (prompts.ask(QStringLiteral("Datum vydání není vyplněno, vyplnit dnešní datum?")))
        m_history.change(DocumentField::IssueDate, m_today().toString(QStringLiteral("dd.MM.yyyy")),
                         QStringLiteral("Vyplnění data vydání"));
}

void TAboutStation::open(UserPrompts &prompts)
{
    offerIssueDate(prompts);
    exec();
}

}  // namespace kalmor
