#pragma once

#include "document/StationDocument.h"

#include <QObject>

#include <memory>

namespace kalmor {

class TAboutKalmor;
class TAboutStation;
class TManual;
class TNahledPanelu;
class TNastaveniPanelu;
class TPaleta;
class TPanelVaxel;
class TStarter;
class TZ_PosunPolicek;
class UserGuide;

// The program's single windows and its one station document, created in
// start-up order; only the splash window is visible at first. The splash
// window stands for the application's main window: closing it ends the
// program, and closing the main window closes it.
class Application : public QObject {
    Q_OBJECT
public:
    // startFile: a station to open right after the hand-over to the main
    // window, exactly as Open would; empty for none.
    explicit Application(const QString &startFile = {});
    ~Application() override;

    StationDocument &document() { return m_document; }
    TStarter &starter() const { return *m_starter; }
    TPanelVaxel &mainWindow() const { return *m_main; }
    TZ_PosunPolicek *shiftDialog() const { return m_shift; }
    TAboutStation *aboutStation() const { return m_aboutStation; }
    TManual *manual() const { return m_manual; }
    TAboutKalmor *aboutKalmor() const { return m_aboutKalmor; }
    TPaleta *palette() const { return m_palette; }
    TNastaveniPanelu *panelSettings() const { return m_settings; }
    TNahledPanelu *panelPreview() const { return m_preview; }
    UserGuide *guide() const { return m_guide; }

signals:
    // The program should end: the splash window has been closed.
    void finished();

private:
    void placeWindows();
    void wireDialogs();
    void bringFirstPagesToFront();
    void handOver();
    void openExample();

    StationDocument m_document;
    std::unique_ptr<TStarter> m_starter;
    std::unique_ptr<TPanelVaxel> m_main;
    // Owned by the main window, like every dialog of the program.
    TZ_PosunPolicek *m_shift = nullptr;
    TAboutStation *m_aboutStation = nullptr;
    TManual *m_manual = nullptr;
    TAboutKalmor *m_aboutKalmor = nullptr;
    TPaleta *m_palette = nullptr;
    TNastaveniPanelu *m_settings = nullptr;
    TNahledPanelu *m_preview = nullptr;
    UserGuide *m_guide = nullptr;
    QString m_startFile;
};

}  // namespace kalmor
