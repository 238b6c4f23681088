#pragma once

#include <QObject>

namespace kalmor {

class DocumentLifecycle;
class StationDocument;
class StationHistory;
class Viewport;

// Applies the station's own rows and columns to the viewport: the surface,
// the grid, the scroll bars and everything that reads the applied size
// (shift all, the check) take them. "Nastavit", Open, New and an undo or
// redo of a size change all end here.
void applyStationSize(Viewport &viewport, const StationDocument &doc);

// Keeps the applied size on the station's own where the station changes
// under the user's hands: Open and New, and a step of the history that
// brings the size back or again. Sizes typed into the panel settings wait
// for "Nastavit".
class StationSizeFollower : public QObject {
    Q_OBJECT
public:
    StationSizeFollower(const DocumentLifecycle &lifecycle, StationHistory &history, Viewport &viewport,
                        QObject *parent = nullptr);
};

}  // namespace kalmor
