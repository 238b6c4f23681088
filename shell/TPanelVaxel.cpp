#include "shell/TPanelVaxel.h"

#include "document/StationDocument.h"
#include "editing/AssortmentView.h"
#include "editing/CellJump.h"
#include "editing/CornerDivisionPage.h"
#include "editing/EditingInputs.h"
#include "editing/ElementSelection.h"
#include "editing/FindWindow.h"
#include "editing/LabelPropertiesPage.h"
#include "editing/LampPropertiesPage.h"
#include "editing/LayoutCheck.h"
#include "editing/PaletteWindow.h"
#include "editing/PanelSelection.h"
#include "editing/Picking.h"
#include "editing/PlateTextEditor.h"
#include "editing/PointerInput.h"
#include "editing/SelectionCommands.h"
#include "editing/ShiftElements.h"
#include "editing/WheelNavigation.h"
#include "view/DrawingSurface.h"
#include "view/RenderTimer.h"
#include "view/StationSize.h"
#include "view/ToolWindow.h"
#include "view/WorkArea.h"
#include "wiring/Wiring.h"
#include "shell/ExportCommand.h"
#include "shell/HistoryActions.h"
#include "shell/PanelFocus.h"
#include "shell/PrintCommand.h"
#include "shell/SelectionActions.h"
#include "shell/ShellResources.h"
#include "shell/ShortcutsOverFields.h"
#include "shell/ToolPanels.h"
#include "shell/WrappingTabs.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace kalmor {

namespace {

// The panels have a raised inner and a lowered outer bevel.
QFrame *bevelledPanel(QWidget *parent, const char *name)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    return panel;
}

QPushButton *closeButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(QStringLiteral("x"), parent);
    button->setObjectName(QLatin1String(name));
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->setFixedSize(TPanelVaxel::CloseButtonSize, TPanelVaxel::CloseButtonSize);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton *glyphButton(QWidget *parent, const char *name, int x, const QString &tip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setGeometry(x, 4, 23, 23);
    button->setIconSize(QSize(16, 16));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QWidget *tabPage(QTabWidget *pages, const char *name, const QString &caption, QWidget *content)
{
    auto *page = new QWidget(pages);
    page->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    pages->addTab(page, caption);
    return page;
}

constexpr int PanelButtonTop = 2;

}  // namespace

TPanelVaxel::TPanelVaxel(StationDocument &doc, QWidget *parent)
    : QMainWindow(parent)
    , m_doc(doc)
    , m_history(doc)
    , m_prompts(this)
{
    setObjectName(QStringLiteral("PanelVaxel"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setGeometry(239, 123, 904, 561);

    m_menu = buildMainMenu(new QMenuBar(this));
    setMenuBar(m_menu.bar);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    auto *column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildToolBar());
    column->addWidget(buildDockedAssortment());
    column->addWidget(buildProgressStrip());
    auto *middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(buildLeftPanel());
    m_workArea = new WorkArea(m_doc, m_images, m_viewport, client);
    m_workArea->setObjectName(QStringLiteral("P_PodkladPlochy"));
    middle->addWidget(m_workArea, 1);
    column->addLayout(middle, 1);
    column->addWidget(buildStatusBar());
    setCentralWidget(client);

    m_toolPanels = new ToolPanels(
        ToolPanelWidgets{m_toolBar, m_dockedAssortment, m_leftPanel, m_statusBar, m_menu.MP_HorniLista,
                         m_menu.MP_Sortiment, m_menu.MP_LevyPanel, m_menu.MP_StatusPanel,
                         m_menu.MP_UkotvitPanelSortiment},
        this);

    m_pointer = new PointerInput(
        m_history, [this] { return m_viewport.cellSize(); },
        [this] { return currentPlacementInputs(currentKind(), *m_cornerPage, *m_lampPage, m_labelPage); },
        this);
    m_pointer->setCaptionLabels(m_cornerPage->startCaption(), m_cornerPage->endCaption());
    X_Plocha *plocha = surface();
    connect(plocha, &X_Plocha::mouseMoved, m_pointer, &PointerInput::mouseMoved);
    connect(plocha, &X_Plocha::mousePressed, m_pointer, &PointerInput::mousePressed);
    connect(plocha, &X_Plocha::mouseReleased, m_pointer, &PointerInput::mouseReleased);
    connect(plocha, &X_Plocha::mouseDoubleClicked, m_pointer, &PointerInput::mouseDoubleClicked);
    plocha->setFrameSource([this] { return editingView(); });
    m_labelPage->setPrompts(&m_prompts);
    m_plateTextEditor = new PlateTextEditor(m_history, plocha, [this] { return m_viewport.cellSize(); }, &m_prompts, this);
    connect(m_pointer, &PointerInput::textEditRequested, m_plateTextEditor, &PlateTextEditor::edit);

    m_panelSelection = new PanelSelection(this);
    connect(m_pointer, &PointerInput::cellsSelected, m_panelSelection, &PanelSelection::selectCells);
    m_selectionCommands = new SelectionCommands(
        m_history, m_prompts, *m_panelSelection, [this] { return m_pointer->cursorCell(); },
        [this] { return QSize(m_viewport.appliedColumns(), m_viewport.appliedRows()); },
        QSize(Viewport::DesignCellSize, Viewport::DesignCellSize) - m_lampPage->lampImageSize(), this);
    m_selectionCommands->listenToKeys(plocha);
    new WheelNavigation(m_viewport, *m_workArea, this);

    m_renderTimer = new X_Vykreslovac(this);
    m_renderTimer->setObjectName(QStringLiteral("X_Vykreslovac"));
    connect(m_renderTimer, &X_Vykreslovac::tick, plocha, &X_Plocha::X_VykreslovacTimer);
    connect(&m_history, &StationHistory::changed, plocha, &X_Plocha::followEdits);

    m_layoutCheck = new LayoutCheck(m_doc, m_viewport, *m_pointer, this);
    ToolWindow::attach(m_layoutCheck->window(), m_workArea->clipPanel());
    plocha->setOverlaySource([this](const ViewSwitches &switches) { return m_layoutCheck->overlays(switches); });
    connect(m_renderTimer, &X_Vykreslovac::tick, m_layoutCheck, &LayoutCheck::followEdits);
    m_findWindow = new FindWindow(m_doc, this);
    ToolWindow::attach(m_findWindow, m_workArea->clipPanel());
    connect(m_findWindow, &FindWindow::cellChosen, this, [this](QPoint cell) { centreOnCell(m_viewport, *m_pointer, cell); });
    connect(m_renderTimer, &X_Vykreslovac::tick, m_findWindow, &FindWindow::followEdits);

    m_wiring = new Wiring(m_history, m_prompts,
                          AreaWindowHooks{[this] { return m_panelSelection->area(); },
                                          [this](const CellRect &cells) { m_panelSelection->select(cells); },
                                          [this](QPoint cell) { centreOnCell(m_viewport, *m_pointer, cell); }},
                          this);
    ToolWindow::attach(m_wiring->ioWindow(), m_workArea->clipPanel());
    ToolWindow::attach(m_wiring->areasWindow(), m_workArea->clipPanel());
    connect(m_renderTimer, &X_Vykreslovac::tick, m_wiring, &Wiring::followEdits);

    m_lifecycle = new DocumentLifecycle(m_doc, m_prompts, *this, this);
    m_lifecycle->addLoadFollower(plocha->indexPreparation());
    // A close asked for during a save or a load is asked again after it.
    connect(m_lifecycle, &DocumentLifecycle::closeRequestDue, this, &QWidget::close, Qt::QueuedConnection);
    m_history.follow(*m_lifecycle);
    new StationSizeFollower(*m_lifecycle, m_history, m_viewport, this);
    connect(m_lifecycle, &DocumentLifecycle::stationReplaced, m_panelSelection, &PanelSelection::clear);
    new HistoryActions(m_history, m_menu.Zpt2, m_menu.MP_Znovu, m_undoButton, m_redoButton, this);
    new PanelFocus(this, m_workArea, *m_lifecycle);
    const auto picture = [this] { return currentPicture(); };
    m_export = new ExportCommand(m_doc, m_images, m_prompts, *this, picture, this);
    m_print = new PrintCommand(m_doc, m_images, picture, this);
    wireMenu();

    connect(&m_doc, &StationDocument::pathChanged, this, &TPanelVaxel::showDocumentState);
    connect(&m_doc, &StationDocument::statusChanged, this, &TPanelVaxel::showDocumentState);
    showDocumentState();

    applyResizeRule();
    m_renderTimer->start();
}

TPanelVaxel::~TPanelVaxel()
{
    // The work area and the dialogs refer to the image set and the
    // viewport, members that would otherwise be gone before the children.
    const QList<QPointer<QObject>> kids(children().cbegin(), children().cend());
    for (const QPointer<QObject> &kid : kids) {
        if (kid && !qobject_cast<QLayout *>(kid.data()))
            delete kid.data();
    }
}

X_Plocha *TPanelVaxel::surface() const
{
    return m_workArea->surface();
}

QWidget *TPanelVaxel::buildToolBar()
{
    QFrame *bar = bevelledPanel(nullptr, "P_HorniLista");
    bar->setFixedHeight(33);
    m_toolBar = bar;

    QToolButton *newButton = glyphButton(bar, "BB_Novy", 5, QStringLiteral("Nová stanice (Ctrl+N)"));
    newButton->setIcon(glyph(GlyphKind::New));
    connect(newButton, &QToolButton::clicked, this, [this] { m_lifecycle->newStation(); });
    QToolButton *save = glyphButton(bar, "BB_Ulozit", 31, QStringLiteral("Uložit (Ctrl+S)"));
    save->setIcon(glyph(GlyphKind::Save));
    connect(save, &QToolButton::clicked, this, [this] { m_lifecycle->saveStation(); });
    QToolButton *saveAs = glyphButton(bar, "BB_UlozitJako", 57, QStringLiteral("Uložit jako (Ctrl+Shift+S)"));
    saveAs->setIcon(glyph(GlyphKind::SaveAs));
    connect(saveAs, &QToolButton::clicked, this, [this] { m_lifecycle->saveStationAs(); });
    QToolButton *open = glyphButton(bar, "BB_Otevrit", 84, QStringLiteral("Otevřít (Ctrl+O)"));
    open->setIcon(glyph(GlyphKind::Open));
    connect(open, &QToolButton::clicked, this, [this] { m_lifecycle->openStation(); });
    // The history names the step in the tips of these two.
    m_undoButton = glyphButton(bar, "BB_Zpet", 123, QStringLiteral("Zpět (Ctrl+Z)"));
    m_undoButton->setIcon(glyph(GlyphKind::Undo));
    m_redoButton = glyphButton(bar, "BitBtn5", 150, QStringLiteral("Znovu (Ctrl+Y)"));
    m_redoButton->setIcon(glyph(GlyphKind::Redo));

    m_chosenKind = new QLabel(QStringLiteral("KOL_sLSPS"), bar);
    m_chosenKind->setObjectName(QStringLiteral("L_ZvolenaSoucast"));
    m_chosenKind->move(184, 10);
    m_chosenKind->hide();

    m_closeToolBar = closeButton(bar, "B_ZavritPanelNastroju");
    m_closeToolBar->setToolTip(QStringLiteral("Skrýt horní lištu"));
    return bar;
}

QWidget *TPanelVaxel::buildDockedAssortment()
{
    QFrame *panel = bevelledPanel(nullptr, "P_Sortiment");
    panel->setFixedHeight(92);
    m_dockedAssortment = panel;
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(1, 1, 1, 1);
    m_assortment = new AssortmentView(AssortmentView::Layout::Main, panel);
    // The stored design has "Výhybky 1" in front; start-up brings
    // "Přímé koleje" forward.
    m_assortment->bringToFront(QStringLiteral("SH_VYHYBKY1"));
    layout->addWidget(m_assortment);

    m_anchor = new QToolButton(panel);
    m_anchor->setObjectName(QStringLiteral("B_Kotva"));
    m_anchor->setFixedSize(19, 17);
    m_anchor->setIcon(glyph(GlyphKind::Anchor));
    m_anchor->setIconSize(QSize(13, 13));
    m_anchor->setFocusPolicy(Qt::NoFocus);
    m_anchor->setToolTip(QStringLiteral("Odkotvit sortiment do samostatného okna"));
    m_closeAssortment = closeButton(panel, "B_ZavritPanelSortiment");
    m_closeAssortment->setToolTip(QStringLiteral("Skrýt sortiment prvků"));
    m_anchor->raise();
    m_closeAssortment->raise();
    return panel;
}

QWidget *TPanelVaxel::buildProgressStrip()
{
    auto *strip = new QWidget;
    strip->setObjectName(QStringLiteral("P_Ukazatel"));
    strip->setFixedHeight(52);
    auto *layout = new QVBoxLayout(strip);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(0);
    m_progressCaption = new QLabel(QStringLiteral("Počkejte prosím"), strip);
    m_progressCaption->setObjectName(QStringLiteral("L_Prubeh"));
    m_progressBar = new QProgressBar(strip);
    m_progressBar->setObjectName(QStringLiteral("PB_Ukazatel"));
    m_progressBar->setFixedHeight(17);
    m_progressBar->setTextVisible(false);
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    layout->addWidget(m_progressCaption);
    layout->addStretch(1);
    layout->addWidget(m_progressBar);
    strip->hide();
    m_progressStrip = strip;
    return strip;
}

QWidget *TPanelVaxel::buildLeftPanel()
{
    constexpr int Width = 169;
    constexpr int Border = 1;
    QFrame *panel = bevelledPanel(nullptr, "P_Levy");
    panel->setFixedWidth(Width);
    m_leftPanel = panel;
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(Border, Border, Border, Border);
    // The three captions together are wider than the panel: the tabs
    // wrap onto a second row, so every caption can be read.
    m_leftPages = new WrappingTabWidget(Width - 2 * (Border + panel->frameWidth()), panel);
    m_leftPages->setObjectName(QStringLiteral("PC_Nastaveni"));
    m_cornerPage = new CornerDivisionPage;
    m_lampPage = new LampPropertiesPage([this] { return m_viewport.cellSize(); });
    m_labelPage = new LabelPropertiesPage;
    m_cornerTab = tabPage(m_leftPages, "SH_DeleniKO", QStringLiteral("Dělení KO v rozích"), m_cornerPage);
    m_lampTab = tabPage(m_leftPages, "SH_ZarovkyL", QStringLiteral("Žárovky"), m_lampPage);
    m_labelTab = tabPage(m_leftPages, "SH_PopiskyL", QStringLiteral("Popisky"), m_labelPage);
    m_leftPages->setCurrentWidget(m_labelTab);
    layout->addWidget(m_leftPages);

    QPushButton *close = closeButton(panel, "Button1");
    close->setToolTip(QStringLiteral("Skrýt levý panel"));
    close->move(149, 26);
    close->raise();
    connect(close, &QPushButton::clicked, this, [this] { m_toolPanels->LeftPanelCloseClick(); });
    return panel;
}

QWidget *TPanelVaxel::buildStatusBar()
{
    auto *bar = new QWidget;
    bar->setObjectName(QStringLiteral("ZB_Zapati"));
    bar->setFixedHeight(19);
    m_pathPanel = new QLabel(bar);
    m_pathPanel->setObjectName(QStringLiteral("ZB_Zapati_Panel0"));
    m_pathPanel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pathPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_statePanel = new QLabel(bar);
    m_statePanel->setObjectName(QStringLiteral("ZB_Zapati_Panel1"));
    m_statePanel->setAlignment(Qt::AlignCenter);
    m_statePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_statusBar = bar;
    return bar;
}

void TPanelVaxel::wireMenu()
{
    const MainMenu &m = m_menu;
    connect(m.MP_Novy, &QAction::triggered, this, [this] { m_lifecycle->newStation(); });
    connect(m.MP_Otevreni, &QAction::triggered, this, [this] { m_lifecycle->openStation(); });
    connect(m.MP_Ulozeni, &QAction::triggered, this, [this] { m_lifecycle->saveStation(); });
    connect(m.MP_UlozitJako, &QAction::triggered, this, [this] { m_lifecycle->saveStationAs(); });
    connect(m.MP_Export, &QAction::triggered, m_export, &ExportCommand::run);
    connect(m.MP_Tisk, &QAction::triggered, m_print, &PrintCommand::run);
    connect(m.Konec1, &QAction::triggered, this, &QWidget::close);

    const auto shift = [this](qint32 dx, qint32 dy) {
        return [this, dx, dy] {
            shiftAllElements(m_history, dx, dy, m_viewport.appliedColumns(), m_viewport.appliedRows(), m_prompts);
        };
    };
    connect(m.Zpt1, &QAction::triggered, this, shift(-1, 0));
    connect(m.Posunoutve1, &QAction::triggered, this, shift(1, 0));
    connect(m.PosunoutveV1, &QAction::triggered, this, shift(0, 1));
    connect(m.Posunoutve2, &QAction::triggered, this, shift(0, -1));
    // A focused field would take Ctrl+Left and Ctrl+Right as caret moves
    // and Ctrl+K as "delete to the end of the line".
    m_shortcutsOverFields = new ShortcutsOverFields(this);
    for (QAction *a : {m.Zpt1, m.Posunoutve1, m.PosunoutveV1, m.Posunoutve2, m.MP_KolejoveObvody})
        m_shortcutsOverFields->add(a);
    new SelectionActions(*m_selectionCommands, *m_panelSelection, m_menu, this);

    X_Plocha *plocha = surface();
    connect(m.MP_InfoVykreslovani, &QAction::toggled, this, [plocha](bool on) { plocha->switches().diagnostics = on; });
    connect(m.MP_Nahled, &QAction::toggled, this, [plocha](bool on) { plocha->switches().preview = on; });
    connect(m.MP_PolickoPodKurzorem, &QAction::toggled, this,
            [plocha](bool on) { plocha->switches().cursorFrame = on; });
    connect(m.MP_Mrizka, &QAction::toggled, this, [plocha](bool on) { plocha->switches().grid = on; });
    connect(m.MP_KolejoveObvody, &QAction::toggled, this,
            [plocha](bool on) { plocha->switches().trackCircuits = on; });
    connect(m.MP_Texty, &QAction::toggled, this, [plocha](bool on) { plocha->switches().texts = on; });
    connect(m.MP_KontrolaPanelu, &QAction::triggered, m_layoutCheck, &LayoutCheck::showWindow);
    connect(m.MP_Najit, &QAction::triggered, m_findWindow, &FindWindow::open);
    connect(m.MP_Oblasti, &QAction::toggled, this, [plocha](bool on) { plocha->switches().areas = on; });
    m_wiring->connectMenu(m.Vstupnvstupnbody1, m.Oblasti1, m.MP_ExportKusovniku);

    ToolPanels *p = m_toolPanels;
    connect(m.MP_HorniLista, &QAction::triggered, p, &ToolPanels::MP_HorniListaClick);
    connect(m.MP_Sortiment, &QAction::triggered, p, &ToolPanels::MP_SortimentClick);
    connect(m.MP_LevyPanel, &QAction::triggered, p, &ToolPanels::MP_LevyPanelClick);
    connect(m.MP_StatusPanel, &QAction::triggered, p, &ToolPanels::MP_StatusPanelClick);
    connect(m.MP_SkrytVsechnyPanely, &QAction::triggered, p, &ToolPanels::MP_SkrytVsechnyPanelyClick);
    connect(m.MP_ZobrazitVsechnyPanely, &QAction::triggered, p, &ToolPanels::MP_ZobrazitVsechnyPanelyClick);
    connect(m.MP_UkotvitPanelSortiment, &QAction::triggered, p, &ToolPanels::MP_UkotvitPanelSortimentClick);
    connect(m_anchor, &QToolButton::clicked, p, &ToolPanels::B_KotvaClick);
    connect(m_closeToolBar, &QPushButton::clicked, p, &ToolPanels::B_ZavritPanelNastrojuClick);
    connect(m_closeAssortment, &QPushButton::clicked, p, &ToolPanels::B_ZavritPanelSortimentClick);
}

void TPanelVaxel::attachPalette(TPaleta *palette)
{
    SelectionWidgets w;
    w.mainAssortment = m_assortment;
    w.palette = palette;
    w.chosenKindLabel = m_chosenKind;
    w.cornerPage = m_cornerPage;
    w.leftPanel = m_leftPages;
    w.cornerTab = m_cornerTab;
    w.lampTab = m_lampTab;
    w.labelTab = m_labelTab;
    w.assortmentAction = m_menu.MP_Sortiment;
    w.dockAction = m_menu.MP_UkotvitPanelSortiment;
    w.dockedPanel = m_dockedAssortment;
    m_selection = new ElementSelection(w, this);
    connect(m_pointer, &PointerInput::pickRequested, this, [this](QPoint cell) {
        pickElement(m_doc.data(), cell, *m_selection, *m_cornerPage, *m_lampPage, m_labelPage);
    });
    m_toolPanels->setPalette(palette);
    m_toolPanels->setSynchronisation([this] { m_selection->synchronise(); });
}

QString TPanelVaxel::currentKind() const
{
    // The selection exists once the palette is attached at start-up.
    return m_selection ? m_selection->currentKind() : QStringLiteral("KOL_sLSPS");
}

EditingView TPanelVaxel::editingView() const
{
    return currentEditingView(*m_pointer, currentKind(), *m_cornerPage, *m_lampPage, *m_panelSelection);
}

void TPanelVaxel::showDocumentState()
{
    setWindowTitle(windowCaption(m_doc));
    m_pathPanel->setText(pathPanelText(m_doc));
    m_statePanel->setText(statusText(m_doc.status()));
}

void TPanelVaxel::applyResizeRule()
{
    m_viewport.adjustScrollBars(m_workArea->clipPanel()->size());

    // The top-aligned panels and the status bar span the client width.
    const int clientWidth = width();
    m_pathPanel->setGeometry(0, 0, std::max(0, clientWidth - StatusStateWidth), m_statusBar->height());
    m_statePanel->setGeometry(clientWidth - StatusStateWidth, 0, StatusStateWidth, m_statusBar->height());

    m_closeToolBar->move(clientWidth - m_closeToolBar->width() - 1, PanelButtonTop);
    m_closeAssortment->move(clientWidth - m_closeAssortment->width() - 1, PanelButtonTop);
    m_anchor->move(m_closeAssortment->x() - m_closeAssortment->width() - 4, PanelButtonTop);
}

void TPanelVaxel::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    applyResizeRule();
}

void TPanelVaxel::closeEvent(QCloseEvent *event)
{
    // A save, a load or an export hands control to the window system while
    // it runs; the window stays until it has finished.
    if (m_export->isRunning() || !m_lifecycle->confirmClose()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

void TPanelVaxel::hideAllPanels()
{
    if (m_selection)
        m_selection->keepChoice();
    m_toolPanels->MP_SkrytVsechnyPanelyClick();
}

void TPanelVaxel::showAllPanels()
{
    m_toolPanels->MP_ZobrazitVsechnyPanelyClick();
    if (m_selection)
        m_selection->restoreKeptChoice();
}

void TPanelVaxel::setMenuSectionEnabled(MenuSection section, bool enabled)
{
    QMenu *menu = m_menu.section(section);
    menu->menuAction()->setEnabled(enabled);
    menu->setEnabled(enabled);
    // The tool bar buttons are the file menu's commands.
    if (section == MenuSection::MS_Soubor)
        m_toolBar->setEnabled(enabled);
}

PictureOptions TPanelVaxel::currentPicture() const
{
    const ViewSwitches &switches = surface()->renderState().switches;
    return stationPicture(m_doc.data(), m_viewport.cellSize(), switches.grid, switches.texts);
}

void TPanelVaxel::showProgress(const QString &caption, qsizetype maximum)
{
    m_progressCaption->setText(caption);
    m_progressStrip->show();
    m_progressBar->setRange(0, int(std::clamp<qsizetype>(maximum, 0, std::numeric_limits<int>::max())));
    m_progressBar->setValue(0);
    m_progressSteps = 0;
    m_sinceEvents.invalidate();
}

void TPanelVaxel::stepProgress()
{
    ++m_progressSteps;
    m_progressBar->setValue(int(std::min<qsizetype>(m_progressSteps, m_progressBar->maximum())));
    // Letting the window system run once per frame keeps the bar and the
    // work area moving without costing a save of many lines its speed.
    if (!m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= 16) {
        QCoreApplication::processEvents();
        m_sinceEvents.start();
    }
}

void TPanelVaxel::hideProgress()
{
    m_progressStrip->hide();
}

void TPanelVaxel::setEditingLocked(bool locked)
{
    m_pointer->setLocked(locked);
    m_selectionCommands->setLocked(locked);
}

}  // namespace kalmor
