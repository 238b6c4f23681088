#include "shell/HistoryActions.h"

#include "document/StationHistory.h"

#include <QAbstractButton>
#include <QAction>

namespace kalmor {

namespace {

QString tip(const QString &caption, const QString &step)
{
    return step.isEmpty() ? caption : caption + QStringLiteral(": ") + step;
}

}  // namespace

HistoryActions::HistoryActions(StationHistory &history, QAction *undo, QAction *redo, QAbstractButton *undoButton,
                               QAbstractButton *redoButton, QObject *parent)
    : QObject(parent), m_history(history), m_undo(undo), m_redo(redo), m_undoButton(undoButton),
      m_redoButton(redoButton)
{
    connect(m_undo, &QAction::triggered, this, [this] { m_history.undo(); });
    connect(m_redo, &QAction::triggered, this, [this] { m_history.redo(); });
    connect(m_undoButton, &QAbstractButton::clicked, this, [this] { m_history.undo(); });
    connect(m_redoButton, &QAbstractButton::clicked, this, [this] { m_history.redo(); });
    connect(&m_history, &StationHistory::changed, this, &HistoryActions::showState);
    showState();
}

void HistoryActions::showState()
{
    const QString undoTip = tip(QStringLiteral("Zpět"), m_history.undoName());
    const QString redoTip = tip(QStringLiteral("Znovu"), m_history.redoName());
    m_undo->setEnabled(m_history.canUndo());
    m_undo->setStatusTip(undoTip);
    m_undo->setToolTip(undoTip);
    m_undoButton->setEnabled(m_history.canUndo());
    m_undoButton->setToolTip(undoTip);
    m_redo->setEnabled(m_history.canRedo());
    m_redo->setStatusTip(redoTip);
    m_redo->setToolTip(redoTip);
    m_redoButton->setEnabled(m_history.canRedo());
    m_redoButton->setToolTip(redoTip);
}

}  // namespace kalmor
