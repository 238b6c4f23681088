#pragma once

#include <QDialog>
#include <QSize>

#include <functional>

class QCheckBox;

namespace kalmor {

class SpinEdit;
class StationHistory;
class UserPrompts;

// The dialog "Posunout vše": four arrow buttons shift every element (or,
// with "Jen koleje", every track tile) by the count in SE_Pocet; it stays
// open until its close box. Modal: show it
// with exec() (or open()).
class TZ_PosunPolicek : public QDialog {
    Q_OBJECT
public:
    // appliedPanelSize: columns (width) and rows (height) last applied.
    TZ_PosunPolicek(StationHistory &history, UserPrompts &prompts,
                    std::function<QSize()> appliedPanelSize, QWidget *parent = nullptr);

    SpinEdit *countEdit() const { return m_count; }  // SE_Pocet
    QCheckBox *trackOnly() const { return m_trackOnly; }  // CH_JenKoleje

public slots:
    void BB_NahoruClick();
    void BB_DoluClick();
    void BB_DolevaClick();
    void BB_DopravaClick();

private:
    void shiftBy(int dx, int dy);

    StationHistory &m_history;
    UserPrompts &m_prompts;
    std::function<QSize()> m_appliedPanelSize;
    SpinEdit *m_count = nullptr;
    QCheckBox *m_trackOnly = nullptr;
};

}  // namespace kalmor
