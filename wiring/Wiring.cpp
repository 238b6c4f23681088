#include "wiring/Wiring.h"

#include "analysis/PartsList.h"
#include "document/StationHistory.h"
#include "document/UserPrompts.h"
#include "wiring/IoPointsWindow.h"
#include "wiring/WiringEdits.h"

#include <QAction>

namespace kalmor {

namespace {

void bringUp(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

Wiring::Wiring(StationHistory &history, UserPrompts &prompts, AreaWindowHooks hooks, QWidget *windowParent)
    : QObject(windowParent), m_history(history), m_prompts(prompts)
{
    m_io = new IoPointsWindow(history, prompts, windowParent);
    connect(m_io, &IoPointsWindow::cellChosen, this, hooks.centre);
    m_areas = new AreasWindow(history, prompts, std::move(hooks), windowParent);
    connect(&history, &StationHistory::changed, this, &Wiring::followEdits);
}

Wiring::~Wiring()
{
    // The windows work on the history, which may go before the parent's
    // other children.
    delete m_io.data();
    delete m_areas.data();
}

void Wiring::connectMenu(QAction *ioPoints, QAction *areas, QAction *partsList)
{
    connect(ioPoints, &QAction::triggered, this, &Wiring::showIoWindow);
    connect(areas, &QAction::triggered, this, &Wiring::showAreasWindow);
    connect(partsList, &QAction::triggered, this, &Wiring::exportPartsList);
}

void Wiring::showIoWindow()
{
    bringUp(m_io);
}

void Wiring::showAreasWindow()
{
    bringUp(m_areas);
}

void Wiring::followEdits()
{
    if (m_io && m_io->isVisible())
        m_io->follow();
    if (m_areas && m_areas->isVisible())
        m_areas->follow();
}

bool Wiring::exportPartsList()
{
    const std::optional<QString> path = m_prompts.chooseCsvPath(QStringLiteral("Exportovat kusovník"));
    if (!path)
        return false;
    const QString error = writeTableFile(*path, partsListCsv(partsList(m_history.document().data())));
    if (!error.isEmpty())
        m_prompts.warn(error);
    return error.isEmpty();
}

}  // namespace kalmor
