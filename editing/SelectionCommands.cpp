#include "editing/SelectionCommands.h"

#include "document/StationFile.h"
#include "document/StationHistory.h"
#include "document/UserPrompts.h"
#include "document/Windows1250.h"
#include "editing/PanelSelection.h"
#include "editing/SelectionEdits.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace kalmor {

namespace {

CellRect moved(const CellRect &r, qint32 dx, qint32 dy)
{
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

SelectionCommands::SelectionCommands(StationHistory &history, UserPrompts &prompts, PanelSelection &selection,
                                     std::function<QPoint()> cursorCell, std::function<QSize()> panelSize,
                                     QSize lampRoom, QObject *parent)
    : QObject(parent), m_history(history), m_prompts(prompts), m_selection(selection),
      m_cursorCell(std::move(cursorCell)), m_panelSize(std::move(panelSize)), m_lampRoom(lampRoom)
{
}

bool SelectionCommands::canChange() const
{
    return !m_locked && !m_selection.isEmpty();
}

void SelectionCommands::deleteSelected()
{
    if (!canChange())
        return;
    StationEdit edit(m_history.document());
    deleteElements(edit, m_selection.area());
    m_history.commitModifying(std::move(edit), QStringLiteral("Smazání výběru"));
}

void SelectionCommands::cutSelected()
{
    if (!canChange())
        return;
    copyArea(true);
    StationEdit edit(m_history.document());
    deleteElements(edit, m_selection.area());
    m_history.commitModifying(std::move(edit), QStringLiteral("Vyjmutí výběru"));
}

void SelectionCommands::copySelected()
{
    copyArea(false);
}

void SelectionCommands::copyArea(bool cut)
{
    if (m_selection.isEmpty())
        return;
    const CellRect &area = m_selection.area();
    m_copied = elementsIn(m_history.document().data(), area, -area.left, -area.top);
    // The wiring belongs to the elements: a copy is wired anew, what is
    // cut takes its addresses along.
    if (!cut)
        dropAddresses(m_copied);
    m_copiedText = decodeWindows1250(elementLines(m_copied));
    QGuiApplication::clipboard()->setText(m_copiedText);
}

void SelectionCommands::paste()
{
    if (m_locked)
        return;
    const QString text = QGuiApplication::clipboard()->text();
    ElementRecords pieces;
    if (text == m_copiedText) {
        pieces = m_copied.copied();  // kept for the next paste
    } else {
        // Read as a station file is read: settings and unknown lines go
        // unnoticed, a bad number stops with the reader's message.
        StationData data;
        const FileResult result = readStationBytes(encodeWindows1250(text), data);
        if (!result.ok()) {
            m_prompts.inform(result.error);
            return;
        }
        pieces = ElementRecords::takenFrom(data);
    }
    if (pieces.isEmpty()) {
        m_prompts.inform(QStringLiteral("Schránka neobsahuje žádné prvky panelu."));
        return;
    }
    const QPoint at = m_cursorCell();
    const QSize panel = m_panelSize();
    if (!fitsPanel(pieces, at.x(), at.y(), panel.width(), panel.height())) {
        m_prompts.inform(QStringLiteral("Vložené prvky by se dostaly za okraj panelu"));
        return;
    }
    const CellRect extent = extentOf(pieces);
    StationEdit edit(m_history.document());
    placeElements(edit, withoutUsedAddresses(m_history.document().data(), std::move(pieces), at.x(), at.y()), at.x(),
                  at.y());
    m_history.commitModifying(std::move(edit), QStringLiteral("Vložení ze schránky"));
    m_selection.select(moved(extent, at.x(), at.y()));
}

void SelectionCommands::selectAll()
{
    const QSize panel = m_panelSize();
    m_selection.select(CellRect{0, 0, panel.width() - 1, panel.height() - 1});
}

bool SelectionCommands::moveSelected(qint32 dx, qint32 dy)
{
    if (!canChange())
        return true;
    const CellRect area = m_selection.area();
    ElementRecords pieces = elementsIn(m_history.document().data(), area);
    const QSize panel = m_panelSize();
    if (!fitsPanel(pieces, dx, dy, panel.width(), panel.height())) {
        m_prompts.inform(QStringLiteral("Nelze posunout vybrané prvky, některé by se dostaly za okraj panelu"));
        return false;
    }
    StationEdit edit(m_history.document());
    deleteElements(edit, area);
    placeElements(edit, std::move(pieces), dx, dy);
    m_history.commitModifying(std::move(edit), QStringLiteral("Posunutí výběru"));
    m_selection.select(moved(area, dx, dy));
    return true;
}

void SelectionCommands::mirrorSelected(MirrorAxis axis)
{
    if (!canChange())
        return;
    StationEdit edit(m_history.document());
    mirrorElements(edit, m_selection.area(), axis, m_lampRoom);
    const QString name =
        axis == MirrorAxis::LeftRight ? QStringLiteral("Zrcadlení vodorovně") : QStringLiteral("Zrcadlení svisle");
    m_history.commitModifying(std::move(edit), name);
}

void SelectionCommands::listenToKeys(QObject *surface)
{
    surface->installEventFilter(this);
}

bool SelectionCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || m_selection.isEmpty())
        return false;
    switch (key->key()) {
    case Qt::Key_Left: moveSelected(-1, 0); return true;
    case Qt::Key_Right: moveSelected(1, 0); return true;
    case Qt::Key_Up: moveSelected(0, -1); return true;
    case Qt::Key_Down: moveSelected(0, 1); return true;
    case Qt::Key_Escape: m_selection.clear(); return true;
    default: return false;
    }
}

}  // namespace kalmor
