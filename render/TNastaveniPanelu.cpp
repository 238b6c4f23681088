#include "render/TNastaveniPanelu.h"

#include "document/StationHistory.h"
#include "document/UserPrompts.h"
#include "render/FrameInputs.h"
#include "render/SystemColours.h"
#include "render/Viewport.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace kalmor {

namespace {

constexpr int MinOpacity = 20;
constexpr int MaxOpacity = 255;
constexpr int EmptyOpacity = 100;

// A spin edit of this dialog: digits and signs can be typed freely, so a
// number beyond the range stands (and its change handler sees it) until
// the focus leaves, when it goes to the nearest bound and a text that is
// no number to the minimum; a value set from code always shows as text,
// even when the spin box already held that value.
class SpinField : public QSpinBox {
public:
    SpinField(const char *name, int minimum, int maximum, int value, QWidget *parent) : QSpinBox(parent)
    {
        setObjectName(QLatin1String(name));
        setRange(minimum, maximum);
        setValue(value);
        setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        resize(57, 22);
    }

    QLineEdit *editor() const { return lineEdit(); }

    QValidator::State validate(QString &input, int &) const override
    {
        for (const QChar ch : input) {
            if ((ch < u'0' || ch > u'9') && ch != u'-' && ch != u'+')
                return QValidator::Invalid;
        }
        bool ok = false;
        const int v = input.toInt(&ok);
        return ok && v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
    }

    void fixup(QString &input) const override { input = QString::number(textValue(input)); }

    void showValue(int v)
    {
        setValue(v);
        const QString text = QString::number(value());
        if (lineEdit()->text() != text)
            lineEdit()->setText(text);
    }

    // The value the text holds, brought into the range; the minimum when
    // the text is not a whole number.
    int textValue() const { return textValue(cleanText()); }

    int textValue(const QString &text) const
    {
        bool ok = false;
        const int v = text.toInt(&ok);
        return ok ? std::clamp(v, minimum(), maximum()) : minimum();
    }
};

SpinField *spin(QWidget *group, const char *name, QPoint at, int minimum, int maximum, int value)
{
    auto *s = new SpinField(name, minimum, maximum, value, group);
    s->move(at);
    return s;
}

QGroupBox *group(QWidget *parent, const QString &title, QRect geometry)
{
    auto *g = new QGroupBox(title, parent);
    g->setGeometry(geometry);
    return g;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QPoint at)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->move(at);
    l->adjustSize();
    return l;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, QPoint at)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(QRect(at, QSize(75, 25)));
    b->setAutoDefault(false);
    return b;
}

QFrame *sunkenPanel(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *p = new QFrame(parent);
    p->setObjectName(QLatin1String(name));
    p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    p->setLineWidth(1);
    p->setGeometry(geometry);
    auto *text = new QLabel(caption, p);
    text->setAlignment(Qt::AlignCenter);
    text->setGeometry(p->rect());
    return p;
}

}  // namespace

TNastaveniPanelu::TNastaveniPanelu(StationHistory &history, UserPrompts &prompts, Viewport &viewport,
                                   RenderState &state, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      m_history(history),
      m_doc(history.document()),
      m_prompts(prompts),
      m_viewport(viewport),
      m_state(state)
{
    setObjectName(QStringLiteral("NastaveniPanelu"));
    setWindowTitle(QStringLiteral("Nastavení panelu Vaxel"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(354, 275);

    QGroupBox *cells = group(this, QStringLiteral(" Počet políček "), {8, 8, 145, 121});
    label(cells, "Label2", QStringLiteral("Výška"), {16, 27});
    m_rows = spin(cells, "SE_PolickaVyska", {72, 24}, MinPanelCells, MaxPanelCells, m_doc.rows());
    label(cells, "Label3", QStringLiteral("Šířka"), {16, 59});
    m_columns = spin(cells, "SE_PolickaSirka", {72, 56}, MinPanelCells, MaxPanelCells, m_doc.columns());
    QPushButton *apply = button(cells, "Button4", QStringLiteral("Nastavit"), {35, 88});

    QGroupBox *opacity = group(this, QStringLiteral(" Průhlednost "), {8, 136, 145, 65});
    label(opacity, "Label1", QStringLiteral("Pod myší"), {16, 27});
    m_opacity = spin(opacity, "SE_Pruhlednost", {72, 24}, 10, 4000, EmptyOpacity);

    QGroupBox *background = group(this, QStringLiteral(" Pozadí panelu "), {160, 8, 185, 193});
    QFrame *samplePanel = sunkenPanel(background, "Panel1", QStringLiteral("Barva panelu"), {24, 16, 137, 25});
    m_sample = new QFrame(samplePanel);
    m_sample->setObjectName(QStringLiteral("UkazkaPozadi"));
    m_sample->setGeometry(samplePanel->rect().adjusted(1, 1, -1, -1));
    m_sample->setAutoFillBackground(true);
    QPushButton *colour = button(background, "Button1", QStringLiteral("Barva"), {55, 48});
    sunkenPanel(background, "Panel2", QStringLiteral("Textura panelu"), {24, 80, 137, 73})->setEnabled(false);
    button(background, "Button2", QStringLiteral("Textura"), {54, 160})->setEnabled(false);

    QGroupBox *size = group(this, QStringLiteral(" Velikost "), {8, 208, 337, 57});
    label(size, "Label4", QStringLiteral("Panelu"), {16, 27});
    m_zoom = spin(size, "SE_Zvetseni", {72, 24}, Viewport::MinZoom, Viewport::MaxZoom, 0);

    connect(m_rows, &QSpinBox::valueChanged, this, [this](int v) { m_history.type(DocumentField::Rows, v); });
    connect(m_columns, &QSpinBox::valueChanged, this, [this](int v) { m_history.type(DocumentField::Columns, v); });
    // Typing after the dialog was closed and opened again is a new step.
    connect(this, &QDialog::finished, &m_history, &StationHistory::endTyping);
    // The spin box reports only valid values; these handlers see every text.
    connect(static_cast<SpinField *>(m_opacity)->editor(), &QLineEdit::textChanged, this,
            &TNastaveniPanelu::SE_PruhlednostChange);
    connect(static_cast<SpinField *>(m_zoom)->editor(), &QLineEdit::textChanged, this,
            &TNastaveniPanelu::SE_ZvetseniChange);
    // The spin box writes the text of a stepped or corrected value with
    // the editor's signals blocked; it reports a new value itself, and a
    // correction when the focus leaves ends the editing. The handlers are
    // idempotent, so running twice for one typed text does no harm.
    connect(m_opacity, &QSpinBox::textChanged, this, &TNastaveniPanelu::SE_PruhlednostChange);
    connect(m_zoom, &QSpinBox::textChanged, this, &TNastaveniPanelu::SE_ZvetseniChange);
    connect(m_opacity, &QSpinBox::editingFinished, this, [this] { SE_PruhlednostChange(m_opacity->text()); });
    connect(m_zoom, &QSpinBox::editingFinished, this, [this] { SE_ZvetseniChange(m_zoom->text()); });
    connect(&m_viewport, &Viewport::zoomChanged, this, &TNastaveniPanelu::showZoom);
    connect(apply, &QPushButton::clicked, this, &TNastaveniPanelu::Button4Click);
    connect(colour, &QPushButton::clicked, this, &TNastaveniPanelu::Button1Click);
    connect(&m_doc, &StationDocument::settingsChanged, this, &TNastaveniPanelu::showDocumentSettings);
    showDocumentSettings();
}

TNastaveniPanelu::~TNastaveniPanelu()
{
    // A field losing the focus while the window is taken down ends its
    // editing: no handler may run on a half-destroyed dialog.
    for (QSpinBox *field : {m_rows, m_columns, m_opacity, m_zoom}) {
        field->blockSignals(true);
        static_cast<SpinField *>(field)->editor()->blockSignals(true);
    }
}

void TNastaveniPanelu::showDocumentSettings()
{
    if (m_rows->value() != m_doc.rows())
        m_rows->setValue(m_doc.rows());
    if (m_columns->value() != m_doc.columns())
        m_columns->setValue(m_doc.columns());
    setSampleColour(m_doc.backgroundColour());
}

void TNastaveniPanelu::setSampleColour(Colour c)
{
    m_sampleColour = c;
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::Window, toQColor(c));
    m_sample->setPalette(palette);
}

void TNastaveniPanelu::Button4Click()
{
    // A half-typed size counts as its text reads, as the save would see it.
    m_history.type(DocumentField::Rows, static_cast<SpinField *>(m_rows)->textValue());
    m_history.type(DocumentField::Columns, static_cast<SpinField *>(m_columns)->textValue());
    m_viewport.applyPanelSize(m_doc.columns(), m_doc.rows());
}

void TNastaveniPanelu::Button1Click()
{
    const std::optional<Colour> chosen = m_prompts.chooseColour(m_lastChosen);
    if (!chosen)
        return;
    m_lastChosen = *chosen;
    m_history.change(DocumentField::BackgroundColour, qint64(*chosen), QStringLiteral("Změna barvy pozadí"));
    setSampleColour(*chosen);
    m_state.fillColour = *chosen;
}

void TNastaveniPanelu::SE_PruhlednostChange(const QString &text)
{
    auto *field = static_cast<SpinField *>(m_opacity);
    if (text.isEmpty()) {
        // The new text runs this handler again.
        field->showValue(EmptyOpacity);
        m_state.previewOpacity = EmptyOpacity;
        return;
    }
    bool ok = false;
    const int typed = text.toInt(&ok);
    const int value = ok ? typed : field->minimum();
    const int used = std::clamp(value, MinOpacity, MaxOpacity);
    m_state.previewOpacity = used;
    if (used != typed || !ok)
        field->showValue(used);
}

// The zoom a text of the field stands for: what it holds, the minimum
// while it holds no number yet, 0 when it is empty.
int TNastaveniPanelu::zoomOf(const QString &text) const
{
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int typed = text.toInt(&ok);
    return ok ? typed : m_zoom->minimum();
}

void TNastaveniPanelu::SE_ZvetseniChange(const QString &text)
{
    if (text.isEmpty())
        static_cast<SpinField *>(m_zoom)->showValue(0);
    m_viewport.setZoom(zoomOf(text));
}

void TNastaveniPanelu::showZoom(int zoom)
{
    // A text being typed that already stands for this zoom stays as it is.
    if (zoomOf(m_zoom->text()) != zoom)
        static_cast<SpinField *>(m_zoom)->showValue(zoom);
}

}  // namespace kalmor
