#pragma once

#include <QObject>

class QAbstractButton;
class QAction;

namespace kalmor {

class StationHistory;

// "Zpět" and "Znovu" (menu entries and tool-bar buttons): each enabled
// exactly when there is a step to take, its tool and status tips naming
// the step.
class HistoryActions : public QObject {
    Q_OBJECT
public:
    HistoryActions(StationHistory &history, QAction *undo, QAction *redo, QAbstractButton *undoButton,
                   QAbstractButton *redoButton, QObject *parent = nullptr);

private:
    void showState();

    StationHistory &m_history;
    QAction *m_undo;
    QAction *m_redo;
    QAbstractButton *m_undoButton;
    QAbstractButton *m_redoButton;
};

}  // namespace kalmor
