#pragma once

#include "document/StationDocument.h"
#include "document/UserPrompts.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace kalmor {

// The five sections of the main menu, in the order a save disables and
// enables them.
enum class MenuSection { MS_Soubor, MS_Upravy, MS_Zobrazit, MS_Napoveda, MS_Nastaveni };

inline constexpr std::array<MenuSection, 5> MenuSectionOrder{
    MenuSection::MS_Soubor, MenuSection::MS_Upravy, MenuSection::MS_Zobrazit,
    MenuSection::MS_Napoveda, MenuSection::MS_Nastaveni};

// What the lifecycle commands need from the main window. Kept abstract so
// the commands run headless under test and in benchmarks.
class LifecycleHost {
public:
    virtual ~LifecycleHost() = default;

    // The commands "Skrýt všechny" and "Zobrazit všechny" of the view menu.
    virtual void hideAllPanels() = 0;
    virtual void showAllPanels() = 0;
    virtual void setMenuSectionEnabled(MenuSection section, bool enabled) = 0;

    // The save progress strip P_Ukazatel (a long load shows it too): shown
    // at position 0 with the bar running from 0 to `maximum`; a step adds
    // one and lets the window system process pending events (the host may
    // do that only about once per frame, but must count every step).
    virtual void showProgress(const QString &caption, qsizetype maximum) = 0;
    virtual void stepProgress() = 0;
    virtual void hideProgress() = 0;

    // While locked, pointer input on the work area must not change the
    // element lists: the writer is walking them, or a load is about to
    // replace them, while events are processed.
    virtual void setEditingLocked(bool locked) = 0;
};

// "Kalmor v0.5 - Nová stanice" without a file, else "<file name> - Kalmor v0.5".
QString windowCaption(const StationDocument &doc);

// Text of the first status bar panel: the full path or "(žádný soubor)".
QString pathPanelText(const StationDocument &doc);

// The commands New, Open, Save, Save As and the close question.
//
// A file is read on a thread of its own while this thread keeps the window
// alive: it repaints, and after half a second the progress strip shows how
// far the read is. The menus are disabled and editing is locked meanwhile,
// as during a save, and the document takes the station over only once the
// whole file was read.
class DocumentLifecycle : public QObject {
    Q_OBJECT
public:
    // A load that runs longer than this holds the menus and editing back
    // and gives the window its events; one that runs longer than the
    // second shows the progress strip.
    static constexpr int LoadHoldAfterMs = 100;
    static constexpr int LoadProgressAfterMs = 500;

    // Milliseconds of a monotonic clock, which those two are measured by;
    // tests set their own.
    using Clock = std::function<qint64()>;

    DocumentLifecycle(StationDocument &doc, UserPrompts &prompts, LifecycleHost &host, QObject *parent = nullptr);

    // Each returns whether the command ran to its end; false after a No,
    // a cancelled dialog, a failure, or while a save or a load still runs.
    bool newStation();
    bool openStation();
    bool saveStation();
    bool saveStationAs();

    // The save sequence with a given path (Save and Save As end here).
    bool saveTo(const QString &path);
    // Reads a file into the document; on failure the document stays as it was.
    bool openFrom(const QString &path);
    // Opens a station as a new one, as "Otevřít ukázku" does with the
    // example: after the question about unsaved changes its contents are
    // read, but the document has no file and the status "Nový", so a save
    // asks for a name and never writes over the file it came from.
    bool openAsNew(const QString &path);

    // Whether the main window may close: asks when the station is modified.
    // While a save or a load runs the window stays, and the request is
    // remembered: closeRequestDue() asks the window to close again once
    // the command has finished.
    bool confirmClose();

    // What else a load prepares on its thread for the station it read.
    void addLoadFollower(LoadFollower follower);
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // True while a save is writing element lines and events are processed.
    bool isSaving() const { return m_saving; }
    // True while a load reads its file and events are processed.
    bool isLoading() const { return m_loading; }
    bool isBusy() const { return m_saving || m_loading; }

signals:
    // A close was asked for while a save or a load ran, which has finished.
    void closeRequestDue();
    // The document took over another station: New, or an Open that succeeded.
    void stationReplaced();
    // A save has finished; the document is what the file holds.
    void stationSaved();

private:
    struct Loaded;

    bool discardConfirmed();
    void setSectionsEnabled(bool enabled);
    Loaded readKeepingWindowAlive(const QString &path);
    bool load(const QString &path, bool asNew);
    void finished();

    StationDocument &m_doc;
    UserPrompts &m_prompts;
    LifecycleHost &m_host;
    std::vector<LoadFollower> m_followers;
    Clock m_clock;
    bool m_saving = false;
    bool m_loading = false;
    bool m_closeRequested = false;
};

}  // namespace kalmor
