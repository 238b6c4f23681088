#include "shell/Application.h"

#include "document/TAboutStation.h"
#include "editing/AssortmentView.h"
#include "editing/PaletteWindow.h"
#include "editing/ShiftDialog.h"
#include "view/DrawingSurface.h"
#include "view/TNahledPanelu.h"
#include "view/TNastaveniPanelu.h"
#include "shell/ExampleStation.h"
#include "shell/ShellResources.h"
#include "shell/TManual.h"
#include "shell/TPanelVaxel.h"
#include "shell/TStarter.h"
#include "shell/UserGuide.h"
#include "shell/WindowPlacement.h"

#include <QAction>
#include <QScreen>
#include <QTimer>

namespace kalmor {

Application::Application(const QString &startFile) : m_startFile(startFile)
{
    m_starter = std::make_unique<TStarter>();
    m_main = std::make_unique<TPanelVaxel>(m_document);
    TPanelVaxel *main = m_main.get();
    Viewport &viewport = main->viewport();
    m_shift = new TZ_PosunPolicek(
        main->history(), main->prompts(),
        [&viewport] { return QSize(viewport.appliedColumns(), viewport.appliedRows()); }, main);
    m_aboutStation = new TAboutStation(main->history(), main);
    m_manual = new TManual(main);
    m_aboutKalmor = new TAboutKalmor(main);
    m_palette = new TPaleta(main);
    m_settings = new TNastaveniPanelu(main->history(), main->prompts(), viewport, main->surface()->renderState(), main);
    m_preview = new TNahledPanelu(*main->surface(), main);
    m_guide = new UserGuide(main->menu(), main->surface()->images(), exampleStationPath(), main);

    placeWindows();
    main->attachPalette(m_palette);
    wireDialogs();

    connect(m_starter.get(), &TStarter::firstPagesDue, this, &Application::bringFirstPagesToFront);
    connect(m_starter.get(), &TStarter::handOverDue, this, &Application::handOver);
    connect(m_starter.get(), &TStarter::closed, this, &Application::finished);
    connect(main, &TPanelVaxel::closed, m_starter.get(), &QWidget::close);
    m_starter->show();
}

Application::~Application() = default;

void Application::placeWindows()
{
    // The palette and the shift dialog are first centred over the
    // application's main window, which is the splash window, and later
    // stay where the user left them; the station and panel settings come
    // up centred over the editor's main window every time.
    const auto splash = [starter = m_starter.get()] { return starter->geometry(); };
    const auto editor = [main = m_main.get()] { return main->geometry(); };
    using Repeat = WindowPlacement::Repeat;
    new WindowPlacement(m_palette, splash, Repeat::FirstShowingOnly);
    new WindowPlacement(m_shift, splash, Repeat::FirstShowingOnly);
    new WindowPlacement(m_aboutStation, editor, Repeat::EveryShowing);
    new WindowPlacement(m_settings, editor, Repeat::EveryShowing);
    new WindowPlacement(m_guide, editor, Repeat::FirstShowingOnly);
}

void Application::wireDialogs()
{
    TPanelVaxel *main = m_main.get();
    const MainMenu &m = main->menu();
    connect(m.MP_PosunoutVseO, &QAction::triggered, m_shift, [this] { m_shift->exec(); });
    connect(m.OStanici1, &QAction::triggered, m_aboutStation,
            [this] { m_aboutStation->open(m_main->prompts()); });
    connect(m.Panel1, &QAction::triggered, m_settings, [this] { m_settings->exec(); });
    connect(m.MS_NahledPanelu, &QAction::triggered, m_preview, [this] { m_preview->copyAndShow(); });
    connect(m.Manul1, &QAction::triggered, m_manual, [this] { m_manual->exec(); });
    connect(m.MP_Prirucka, &QAction::triggered, m_guide, &UserGuide::showGuide);
    connect(m.MP_OtevritUkazku, &QAction::triggered, this, &Application::openExample);
    connect(m.Oprogramu1, &QAction::triggered, m_aboutKalmor, [this] { m_aboutKalmor->exec(); });
}

void Application::bringFirstPagesToFront()
{
    // Only the page in front changes; the page-change rules do not run.
    m_main->assortment()->bringToFront(QStringLiteral("SH_PRIME"));
    m_palette->assortment()->bringToFront(QStringLiteral("SH_PRIME"));
}

void Application::handOver()
{
    // Without a window manager nobody acts on the maximised state, so the
    // window is also given the whole screen itself.
    m_main->setGeometry(m_main->screen()->availableGeometry());
    m_main->showMaximized();
    // Opened once the splash has hidden itself, so that a message about a
    // file that cannot be read stands over the main window alone.
    if (!m_startFile.isEmpty())
        QTimer::singleShot(0, m_main.get(), [this] { m_main->lifecycle()->openFrom(m_startFile); });
}

void Application::openExample()
{
    const QString path = exampleStationPath();
    if (path.isEmpty()) {
        m_main->prompts().warn(QStringLiteral("Ukázková stanice není nainstalována."));
        return;
    }
    m_main->lifecycle()->openAsNew(path);
}

}  // namespace kalmor
