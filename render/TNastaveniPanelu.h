#pragma once

#include "document/Colours.h"

#include <QDialog>

class QSpinBox;
class QFrame;
class QPushButton;

namespace kalmor {

class StationDocument;
class StationHistory;
class UserPrompts;
class Viewport;
struct RenderState;

// "Nastavení panelu Vaxel": panel size, preview transparency, background
// colour and zoom. Every control acts at once, except the panel size,
// which acts on "Nastavit". The rows, columns and sample colour are views
// of the station document, changed through its history.
class TNastaveniPanelu : public QDialog {
    Q_OBJECT
public:
    TNastaveniPanelu(StationHistory &history, UserPrompts &prompts, Viewport &viewport, RenderState &state,
                     QWidget *parent = nullptr);
    ~TNastaveniPanelu() override;

    // Handlers, callable directly by the main window and tests.
    void Button4Click();  // "Nastavit": apply the panel size
    void Button1Click();  // "Barva": choose the background colour

    QSpinBox *SE_PolickaVyska() const { return m_rows; }
    QSpinBox *SE_PolickaSirka() const { return m_columns; }
    QSpinBox *SE_Pruhlednost() const { return m_opacity; }
    QSpinBox *SE_Zvetseni() const { return m_zoom; }
    QFrame *UkazkaPozadi() const { return m_sample; }
    // The colour the sample shows (the document's background colour).
    Colour sampleColour() const { return m_sampleColour; }

private:
    void SE_PruhlednostChange(const QString &text);
    void SE_ZvetseniChange(const QString &text);
    // Shows a zoom set elsewhere (the wheel) in SE_Zvetseni.
    void showZoom(int zoom);
    int zoomOf(const QString &text) const;
    void showDocumentSettings();
    void setSampleColour(Colour c);

    StationHistory &m_history;
    const StationDocument &m_doc;
    UserPrompts &m_prompts;
    Viewport &m_viewport;
    RenderState &m_state;
    Colour m_lastChosen = clBlack;
    Colour m_sampleColour = clMedGray;
    QSpinBox *m_rows = nullptr;
    QSpinBox *m_columns = nullptr;
    QSpinBox *m_opacity = nullptr;
    QSpinBox *m_zoom = nullptr;
    QFrame *m_sample = nullptr;
};

}  // namespace kalmor
