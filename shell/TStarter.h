#pragma once

#include <QWidget>

class QProgressBar;
class QTimer;

namespace kalmor {

// The splash window: the first window of the program and the one whose
// closing ends it. Its timer fills the gauge and, at the end, hands over
// to the main window.
class TStarter : public QWidget {
    Q_OBJECT
public:
    static constexpr int TickInterval = 20;
    static constexpr int PageSwitchAt = 50;
    static constexpr int HandOverAt = 100;

    explicit TStarter(QWidget *parent = nullptr);

    int counter() const { return m_counter; }
    QProgressBar *gauge() const { return m_gauge; }
    QTimer *timer() const { return m_timer; }

    // One tick of TM_Starter; public so that tests can step it.
    void TM_StarterTimer();

signals:
    // The counter reached 50: bring "Přímé koleje" to the front.
    void firstPagesDue();
    // The counter reached 100: show the main window. The splash hides
    // itself right after this signal.
    void handOverDue();
    // The splash window was closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    int m_counter = 0;
    QProgressBar *m_gauge;
    QTimer *m_timer;
};

}  // namespace kalmor
