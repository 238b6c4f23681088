#pragma once

#include "document/StationDocument.h"
#include "document/UserPrompts.h"

#include <QObject>
#include <QString>

#include <array>

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

    // The save progress strip P_Ukazatel: shown at position 0 with the bar
    // running from 0 to `maximum`; a step adds one and lets the window
    // system process pending events (the host may do that only about once
    // per frame, but must count every step).
    virtual void showProgress(const QString &caption, qsizetype maximum) = 0;
    virtual void stepProgress() = 0;
    virtual void hideProgress() = 0;

    // While locked, pointer input on the work area must not change the
    // element lists: the writer is walking them while events are processed.
    virtual void setEditingLocked(bool locked) = 0;
};

// "Kalmor v0.5 - Nová stanice" without a file, else "<file name> - Kalmor v0.5".
QString windowCaption(const StationDocument &doc);

// Text of the first status bar panel: the full path or "(žádný soubor)".
QString pathPanelText(const StationDocument &doc);

// The commands New, Open, Save, Save As and the close question.
class DocumentLifecycle : public QObject {
    Q_OBJECT
public:
    DocumentLifecycle(StationDocument &doc, UserPrompts &prompts, LifecycleHost &host, QObject *parent = nullptr);

    // Each returns whether the command ran to its end; false after a No,
    // a cancelled dialog, a failure, or while a save is still writing.
    bool newStation();
    bool openStation();
    bool saveStation();
    bool saveStationAs();

    // The save sequence with a given path (Save and Save As end here).
    bool saveTo(const QString &path);
    // Reads a file into the document; on failure the document stays as it was.
    bool openFrom(const QString &path);

    // Whether the main window may close: asks when the station is modified.
    bool confirmClose();

    // True while a save is writing element lines and events are processed.
    bool isSaving() const { return m_saving; }

signals:
    // The document took over another station: New, or an Open that succeeded.
    void stationReplaced();
    // A save has finished; the document is what the file holds.
    void stationSaved();

private:
    bool discardConfirmed();
    void setSectionsEnabled(bool enabled);

    StationDocument &m_doc;
    UserPrompts &m_prompts;
    LifecycleHost &m_host;
    bool m_saving = false;
};

}  // namespace kalmor
