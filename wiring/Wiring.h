#pragma once

#include "wiring/AreasWindow.h"
#include "wiring/IoPointsWindow.h"

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace kalmor {

class StationHistory;
class UserPrompts;

// The desk's wiring in the editor: the windows "Vstupní/výstupní body"
// and "Oblasti" and the parts list export. The windows follow every
// edit while they are open.
class Wiring : public QObject {
    Q_OBJECT
public:
    // The windows are tool windows of windowParent.
    Wiring(StationHistory &history, UserPrompts &prompts, AreaWindowHooks hooks, QWidget *windowParent);
    ~Wiring() override;

    // The menu entries that open the two windows and export the parts list.
    void connectMenu(QAction *ioPoints, QAction *areas, QAction *partsList);

    IoPointsWindow *ioWindow() const { return m_io; }
    AreasWindow *areasWindow() const { return m_areas; }

public slots:
    void showIoWindow();
    void showAreasWindow();
    // "Exportovat kusovník ...": false when cancelled or failed.
    bool exportPartsList();
    // The open windows show the station as it is now.
    void followEdits();

private:
    StationHistory &m_history;
    UserPrompts &m_prompts;
    QPointer<IoPointsWindow> m_io;
    QPointer<AreasWindow> m_areas;
};

}  // namespace kalmor
