#pragma once

#include "document/Colours.h"

#include <QDialog>

class QFrame;
class QPushButton;

namespace kalmor {

class SpinEdit;
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

    SpinEdit *SE_PolickaVyska() const { return m_rows; }
    SpinEdit *SE_PolickaSirka() const { return m_columns; }
    SpinEdit *SE_Pruhlednost() const { return m_opacity; }
    SpinEdit *SE_Zvetseni() const { return m_zoom; }
    QFrame *UkazkaPozadi() const { return m_sample; }
    // The colour the sample shows (the document's background colour).
    Colour sampleColour() const { return m_sampleColour; }

private:
    void SE_PruhlednostChange(int value);
    void SE_ZvetseniChange(int value);
    // Shows a zoom set elsewhere (the wheel) in SE_Zvetseni.
    void showZoom(int zoom);
    void showDocumentSettings();
    void setSampleColour(Colour c);

    StationHistory &m_history;
    const StationDocument &m_doc;
    UserPrompts &m_prompts;
    Viewport &m_viewport;
    RenderState &m_state;
    Colour m_lastChosen = clBlack;
    Colour m_sampleColour = clMedGray;
    SpinEdit *m_rows = nullptr;
    SpinEdit *m_columns = nullptr;
    SpinEdit *m_opacity = nullptr;
    SpinEdit *m_zoom = nullptr;
    QFrame *m_sample = nullptr;
};

}  // namespace kalmor
