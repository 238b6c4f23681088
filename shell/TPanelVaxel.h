#pragma once

#include "document/DocumentLifecycle.h"
#include "document/StationHistory.h"
#include "render/FrameInputs.h"
#include "render/ImageSet.h"
#include "render/PanelPicture.h"
#include "render/Viewport.h"
#include "shell/MainMenu.h"
#include "shell/QtPrompts.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace kalmor {

class AssortmentView;
class CornerDivisionPage;
class ElementSelection;
class ExportCommand;
class FindWindow;
class LabelPropertiesPage;
class LayoutCheck;
class LampPropertiesPage;
class PanelSelection;
class PlateTextEditor;
class PointerInput;
class ShortcutsOverFields;
class PrintCommand;
class SelectionCommands;
class StationDocument;
class TPaleta;
class ToolPanels;
class Wiring;
class WorkArea;
class X_Plocha;
class X_Vykreslovac;

// The editor's main window: tool bar, docked assortment, save progress
// strip, left panel, work area and status bar, the main menu and the
// tool-panel commands. It is what the lifecycle commands work on.
class TPanelVaxel : public QMainWindow, public LifecycleHost {
    Q_OBJECT
public:
    static constexpr int StatusStateWidth = 100;
    static constexpr int CloseButtonSize = 17;

    explicit TPanelVaxel(StationDocument &doc, QWidget *parent = nullptr);
    ~TPanelVaxel() override;

    // The palette exists only after the main window (start-up order); the
    // element selection needs both, so it is made here.
    void attachPalette(TPaleta *palette);

    // The resize rule: scroll bars, status panel widths, close buttons and
    // anchor. Runs at creation and on every resize.
    void applyResizeRule();

    // LifecycleHost
    void hideAllPanels() override;
    void showAllPanels() override;
    void setMenuSectionEnabled(MenuSection section, bool enabled) override;
    void showProgress(const QString &caption, qsizetype maximum) override;
    void stepProgress() override;
    void hideProgress() override;
    void setEditingLocked(bool locked) override;

    // Steps counted since the strip was last shown.
    qsizetype progressSteps() const { return m_progressSteps; }

    const MainMenu &menu() const { return m_menu; }
    ToolPanels *toolPanels() const { return m_toolPanels; }
    DocumentLifecycle *lifecycle() const { return m_lifecycle; }
    StationHistory &history() { return m_history; }
    ExportCommand *exportCommand() const { return m_export; }
    PrintCommand *printCommand() const { return m_print; }
    // The station's panel at the work area's cell size and grid, for
    // pictures and paper.
    PictureOptions currentPicture() const;
    QtPrompts &prompts() { return m_prompts; }
    // Menu shortcuts registered here win over a focused field of the window.
    ShortcutsOverFields *shortcutsOverFields() const { return m_shortcutsOverFields; }
    AssortmentView *assortment() const { return m_assortment; }
    ElementSelection *selection() const { return m_selection; }
    PointerInput *pointerInput() const { return m_pointer; }
    PanelSelection *panelSelection() const { return m_panelSelection; }
    SelectionCommands *selectionCommands() const { return m_selectionCommands; }
    WorkArea *workArea() const { return m_workArea; }
    X_Plocha *surface() const;
    X_Vykreslovac *renderTimer() const { return m_renderTimer; }
    LayoutCheck *layoutCheck() const { return m_layoutCheck; }
    Wiring *wiring() const { return m_wiring; }
    FindWindow *findWindow() const { return m_findWindow; }
    PlateTextEditor *plateTextEditor() const { return m_plateTextEditor; }
    LabelPropertiesPage *labelPage() const { return m_labelPage; }
    Viewport &viewport() { return m_viewport; }
    QLabel *pathPanel() const { return m_pathPanel; }     // status panel 0
    QLabel *statePanel() const { return m_statePanel; }   // status panel 1

signals:
    // The window closed after the close question allowed it.
    void closed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildToolBar();
    QWidget *buildDockedAssortment();
    QWidget *buildProgressStrip();
    QWidget *buildLeftPanel();
    QWidget *buildStatusBar();
    void wireMenu();
    void showDocumentState();
    EditingView editingView() const;
    QString currentKind() const;

    StationDocument &m_doc;
    // Outlives the windows that change the document through it.
    StationHistory m_history;
    ImageSet m_images;
    Viewport m_viewport;
    QtPrompts m_prompts;
    MainMenu m_menu;

    QWidget *m_toolBar = nullptr;
    QToolButton *m_undoButton = nullptr;
    QToolButton *m_redoButton = nullptr;
    QLabel *m_chosenKind = nullptr;
    QPushButton *m_closeToolBar = nullptr;
    QWidget *m_dockedAssortment = nullptr;
    AssortmentView *m_assortment = nullptr;
    QToolButton *m_anchor = nullptr;
    QPushButton *m_closeAssortment = nullptr;
    QWidget *m_progressStrip = nullptr;
    QLabel *m_progressCaption = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QWidget *m_leftPanel = nullptr;
    QTabWidget *m_leftPages = nullptr;
    QWidget *m_cornerTab = nullptr;
    QWidget *m_lampTab = nullptr;
    QWidget *m_labelTab = nullptr;
    CornerDivisionPage *m_cornerPage = nullptr;
    LampPropertiesPage *m_lampPage = nullptr;
    LabelPropertiesPage *m_labelPage = nullptr;
    WorkArea *m_workArea = nullptr;
    QWidget *m_statusBar = nullptr;
    QLabel *m_pathPanel = nullptr;
    QLabel *m_statePanel = nullptr;

    ToolPanels *m_toolPanels = nullptr;
    PointerInput *m_pointer = nullptr;
    X_Vykreslovac *m_renderTimer = nullptr;
    DocumentLifecycle *m_lifecycle = nullptr;
    ExportCommand *m_export = nullptr;
    PrintCommand *m_print = nullptr;
    ElementSelection *m_selection = nullptr;
    LayoutCheck *m_layoutCheck = nullptr;
    FindWindow *m_findWindow = nullptr;
    PlateTextEditor *m_plateTextEditor = nullptr;
    ShortcutsOverFields *m_shortcutsOverFields = nullptr;
    PanelSelection *m_panelSelection = nullptr;
    SelectionCommands *m_selectionCommands = nullptr;
    Wiring *m_wiring = nullptr;

    qsizetype m_progressSteps = 0;
    QElapsedTimer m_sinceEvents;
};

}  // namespace kalmor
