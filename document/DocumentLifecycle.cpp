#include "document/DocumentLifecycle.h"

#include "document/StationFile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kalmor {

namespace {

const QString NoFileText = QStringLiteral("(žádný soubor)");

// Clears a flag when the scope ends, however the save returns.
class FlagGuard {
public:
    explicit FlagGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard &) = delete;
    FlagGuard &operator=(const FlagGuard &) = delete;

private:
    bool &m_flag;
};

}  // namespace

QString windowCaption(const StationDocument &doc)
{
    if (!doc.hasCurrentPath())
        return ProgramTitle + QStringLiteral(" - Nová stanice");
    return QFileInfo(doc.currentPath()).fileName() + QStringLiteral(" - ") + ProgramTitle;
}

QString pathPanelText(const StationDocument &doc)
{
    return doc.hasCurrentPath() ? doc.currentPath() : NoFileText;
}

// What a load gives: the station, and the work its followers prepared.
struct DocumentLifecycle::Loaded {
    StationData station;
    FileResult result;
    std::vector<std::function<void()>> adopt;
};

DocumentLifecycle::DocumentLifecycle(StationDocument &doc, UserPrompts &prompts, LifecycleHost &host,
                                     QObject *parent)
    : QObject(parent)
    , m_doc(doc)
    , m_prompts(prompts)
    , m_host(host)
    , m_clock([] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    })
{
}

void DocumentLifecycle::addLoadFollower(LoadFollower follower)
{
    m_followers.push_back(std::move(follower));
}

bool DocumentLifecycle::discardConfirmed()
{
    return !m_doc.isModified() || m_prompts.askPresetNo(QStringLiteral("Zahodit neuložené změny?"));
}

bool DocumentLifecycle::newStation()
{
    if (isBusy() || !discardConfirmed())
        return false;
    m_doc.resetForNew();
    emit stationReplaced();
    return true;
}

bool DocumentLifecycle::openStation()
{
    if (isBusy() || !discardConfirmed())
        return false;
    const std::optional<QString> path = m_prompts.chooseOpenPath();
    return path && openFrom(*path);
}

bool DocumentLifecycle::openFrom(const QString &path)
{
    return load(path, false);
}

bool DocumentLifecycle::openAsNew(const QString &path)
{
    if (isBusy() || !discardConfirmed())
        return false;
    return load(path, true);
}

bool DocumentLifecycle::load(const QString &path, bool asNew)
{
    if (isBusy())
        return false;
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    Loaded loaded = readKeepingWindowAlive(fullPath);
    if (!loaded.result.ok()) {
        m_prompts.warn(loaded.result.error);
        finished();
        return false;
    }
    m_doc.takeOver(std::move(loaded.station));
    for (const auto &adopt : loaded.adopt) {
        if (adopt)
            adopt();
    }
    m_doc.setCurrentPath(asNew ? QString() : fullPath);
    m_doc.setStatus(asNew ? DocumentStatus::New : DocumentStatus::Loaded);
    emit stationReplaced();
    finished();
    return true;
}

DocumentLifecycle::Loaded DocumentLifecycle::readKeepingWindowAlive(const QString &path)
{
    const FlagGuard loading(m_loading);
    const qint64 start = m_clock();
    Loaded loaded;
    loaded.station = m_doc.data().settingsOnly();
    std::atomic<qint64> bytesRead{0};
    std::mutex mutex;
    std::condition_variable readCv;
    bool done = false;
    std::thread reader([&] {
        ReadPlan plan;
        plan.bytesRead = &bytesRead;
        loaded.result = readStationFile(path, loaded.station, plan);
        if (loaded.result.ok()) {
            for (const LoadFollower &follow : m_followers)
                loaded.adopt.push_back(follow(loaded.station));
        }
        const std::lock_guard lock(mutex);
        done = true;
        readCv.notify_all();
    });
    const auto waitFor = [&](std::chrono::milliseconds ms) {
        std::unique_lock lock(mutex);
        return readCv.wait_for(lock, ms, [&] { return done; });
    };

    // A small file is read before anyone could notice; a large one gets
    // the window back every frame, with the commands that could change
    // the document under the load held back.
    const qint64 size = QFileInfo(path).size();
    bool held = false;
    bool strip = false;
    qint64 steps = 0;
    constexpr qint64 Steps = 100;
    while (!waitFor(std::chrono::milliseconds(16))) {
        const qint64 elapsed = m_clock() - start;
        if (!held) {
            if (elapsed < LoadHoldAfterMs)
                continue;
            setSectionsEnabled(false);
            m_host.setEditingLocked(true);
            held = true;
        }
        if (!strip && elapsed >= LoadProgressAfterMs) {
            m_host.showProgress(QStringLiteral("Otevírání souboru: ") + path, Steps);
            strip = true;
        }
        for (; strip && steps < (size > 0 ? bytesRead.load() * Steps / size : 0); ++steps)
            m_host.stepProgress();
        QCoreApplication::processEvents();
    }
    reader.join();
    if (strip)
        m_host.hideProgress();
    if (held) {
        m_host.setEditingLocked(false);
        setSectionsEnabled(true);
    }
    return loaded;
}

void DocumentLifecycle::finished()
{
    if (m_closeRequested) {
        m_closeRequested = false;
        emit closeRequestDue();
    }
}

bool DocumentLifecycle::saveStation()
{
    if (isBusy())
        return false;
    if (m_doc.hasCurrentPath())
        return saveTo(m_doc.currentPath());
    return saveStationAs();
}

bool DocumentLifecycle::saveStationAs()
{
    if (isBusy())
        return false;
    const std::optional<QString> path = m_prompts.chooseSavePath();
    return path && saveTo(*path);
}

void DocumentLifecycle::setSectionsEnabled(bool enabled)
{
    for (const MenuSection s : MenuSectionOrder)
        m_host.setMenuSectionEnabled(s, enabled);
}

bool DocumentLifecycle::saveTo(const QString &path)
{
    if (isBusy())
        return false;
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    bool panelsHidden = false;
    bool locked = false;
    const auto unlock = [&] {
        if (locked)
            m_host.setEditingLocked(false);
        locked = false;
    };

    WriteObserver observer;
    // Without elements nothing is hidden; the sequence goes on with enabling
    // the sections, which are still enabled.
    observer.emptyPanel = [&] {
        m_prompts.inform(QStringLiteral("Uložený soubor neobsahuje žádný prvek na panelu Vaxel."));
        setSectionsEnabled(true);
    };
    observer.elementsBegin = [&](qsizetype total) {
        m_host.hideAllPanels();
        panelsHidden = true;
        setSectionsEnabled(false);
        m_host.showProgress(QStringLiteral("Ukládání souboru: ") + fullPath, total - 1);
        m_host.setEditingLocked(true);
        locked = true;
    };
    observer.elementWritten = [this] { m_host.stepProgress(); };
    observer.elementsEnd = unlock;

    FileResult result;
    {
        const FlagGuard saving(m_saving);
        result = writeStationFile(fullPath, m_doc.data(), observer);
    }
    unlock();
    // The window is given back only once the file is closed: the last
    // block of a buffered file is written then, and may still fail.
    if (!result.ok()) {
        // The user sees the error first, then gets the window back as a
        // finished save would leave it; path, caption and status stay.
        m_prompts.warn(result.error);
        if (panelsHidden) {
            m_host.showAllPanels();
            setSectionsEnabled(true);
            m_host.hideProgress();
        }
        finished();
        return false;
    }
    if (panelsHidden) {
        m_host.hideProgress();
        m_host.showAllPanels();
        setSectionsEnabled(true);
    }
    m_doc.setCurrentPath(fullPath);
    m_doc.setStatus(DocumentStatus::Saved);
    emit stationSaved();
    finished();
    return true;
}

bool DocumentLifecycle::confirmClose()
{
    if (isBusy()) {
        m_closeRequested = true;
        return false;
    }
    if (!m_doc.isModified())
        return true;
    const QString name = QFileInfo(pathPanelText(m_doc)).fileName();
    return m_prompts.askPresetNo(QStringLiteral("Soubor ") + name
                                 + QStringLiteral(" byl upraven, zavřít bez uložení změn?"));
}

}  // namespace kalmor
