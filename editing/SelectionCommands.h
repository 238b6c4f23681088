#pragma once

#include "catalogue/KindMirror.h"
#include "editing/SelectionEdits.h"

#include <QObject>
#include <QPoint>
#include <QSize>

#include <functional>

namespace kalmor {

class PanelSelection;
class StationHistory;
class UserPrompts;

// The commands on the selected cells: delete, cut, copy, paste, select
// all, move and mirror. Each change of the station is one step of the
// history; a refused command changes nothing. The clipboard holds the
// station file's own element lines, cells counted from the selection's
// top-left cell, so a copy can go into another station, a text editor and
// back. A copy leaves the I/O addresses behind, a cut and a move take
// them along; a paste drops every address the station already uses.
//
// With listenToKeys() the plain arrow keys move the selection and Esc
// clears it while the drawing surface has the keyboard focus.
class SelectionCommands : public QObject {
    Q_OBJECT
public:
    // cursorCell: where a paste goes. panelSize: the applied panel size
    // (columns, rows) that pasted and moved elements must stay within.
    // lampRoom: the design cell less the lamp picture, within which a
    // lamp's offsets mirror.
    SelectionCommands(StationHistory &history, UserPrompts &prompts, PanelSelection &selection,
                      std::function<QPoint()> cursorCell, std::function<QSize()> panelSize, QSize lampRoom,
                      QObject *parent = nullptr);

    void deleteSelected();
    void cutSelected();
    void copySelected();
    void paste();
    void selectAll();
    // False when refused because an element would leave the panel.
    bool moveSelected(qint32 dx, qint32 dy);
    void mirrorSelected(MirrorAxis axis);

    // While a save writes the file, no command changes the station.
    void setLocked(bool locked) { m_locked = locked; }

    void listenToKeys(QObject *surface);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool canChange() const;
    // Puts the selection on the clipboard, with its I/O addresses only
    // when it is cut.
    void copyArea(bool cut);

    StationHistory &m_history;
    UserPrompts &m_prompts;
    PanelSelection &m_selection;
    std::function<QPoint()> m_cursorCell;
    std::function<QSize()> m_panelSize;
    QSize m_lampRoom;
    bool m_locked = false;
    // The records of the last copy and the text written from them: a
    // paste of that very text takes the records instead of reading the
    // text again, which for a large copy is most of the paste's time.
    ElementRecords m_copied;
    QString m_copiedText;
};

}  // namespace kalmor
