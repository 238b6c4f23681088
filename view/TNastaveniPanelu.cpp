#include "view/TNastaveniPanelu.h"

#include "document/StationHistory.h"
#include "document/UserPrompts.h"
#include "render/FrameInputs.h"
#include "view/SpinEdit.h"
#include "view/StationSize.h"
#include "render/SystemColours.h"
#include "render/Viewport.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace kalmor {

namespace {

// The preview's opacity is used from 20 to 255 (opaque); an emptied field
// shows 100.
constexpr int MinOpacity = 20;
constexpr int MaxOpacity = 255;
constexpr int EmptyOpacity = 100;

SpinEdit *spin(QWidget *group, const char *name, QPoint at, int minimum, int maximum, int value)
{
    auto *s = new SpinEdit(minimum, maximum, group);
    s->setObjectName(QLatin1String(name));
    s->setValue(value);
    s->setGeometry(QRect(at, QSize(57, 22)));
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
    m_opacity = spin(opacity, "SE_Pruhlednost", {72, 24}, MinOpacity, MaxOpacity, EmptyOpacity);
    m_opacity->setEmptyValue(EmptyOpacity);

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
    m_zoom->setEmptyValue(0);

    // Only whole numbers within the ranges act; what is typed beyond them
    // is brought back when editing ends.
    connect(m_rows, &QSpinBox::valueChanged, this, [this](int v) { m_history.type(DocumentField::Rows, v); });
    connect(m_columns, &QSpinBox::valueChanged, this, [this](int v) { m_history.type(DocumentField::Columns, v); });
    // Typing after the dialog was closed and opened again is a new step.
    connect(this, &QDialog::finished, &m_history, &StationHistory::endTyping);
    connect(m_opacity, &QSpinBox::valueChanged, this, &TNastaveniPanelu::SE_PruhlednostChange);
    connect(m_zoom, &QSpinBox::valueChanged, this, &TNastaveniPanelu::SE_ZvetseniChange);
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
    for (SpinEdit *field : {m_rows, m_columns, m_opacity, m_zoom})
        field->blockSignals(true);
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
    // A half-typed size is taken as editing it would end.
    m_rows->interpretText();
    m_columns->interpretText();
    m_history.type(DocumentField::Rows, m_rows->value());
    m_history.type(DocumentField::Columns, m_columns->value());
    applyStationSize(m_viewport, m_doc);
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

void TNastaveniPanelu::SE_PruhlednostChange(int value)
{
    m_state.previewOpacity = value;
}

void TNastaveniPanelu::SE_ZvetseniChange(int value)
{
    m_viewport.setZoom(value);
}

void TNastaveniPanelu::showZoom(int zoom)
{
    if (m_zoom->value() != zoom)
        m_zoom->setValue(zoom);
}

}  // namespace kalmor
