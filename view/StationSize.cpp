#include "view/StationSize.h"

#include "document/DocumentLifecycle.h"
#include "document/StationHistory.h"
#include "render/Viewport.h"

namespace kalmor {

void applyStationSize(Viewport &viewport, const StationDocument &doc)
{
    viewport.applyPanelSize(doc.columns(), doc.rows());
}

StationSizeFollower::StationSizeFollower(const DocumentLifecycle &lifecycle, StationHistory &history,
                                         Viewport &viewport, QObject *parent)
    : QObject(parent)
{
    const StationDocument &doc = history.document();
    const auto apply = [&viewport, &doc] { applyStationSize(viewport, doc); };
    connect(&lifecycle, &DocumentLifecycle::stationReplaced, this, apply);
    connect(&history, &StationHistory::panelSizeStepped, this, apply);
}

}  // namespace kalmor
