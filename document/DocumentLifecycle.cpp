#include "document/DocumentLifecycle.h"

#include "document/StationFile.h"

#include <QFileInfo>

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

DocumentLifecycle::DocumentLifecycle(StationDocument &doc, UserPrompts &prompts, LifecycleHost &host,
                                     QObject *parent)
    : QObject(parent), m_doc(doc), m_prompts(prompts), m_host(host)
{
}

bool DocumentLifecycle::discardConfirmed()
{
    return !m_doc.isModified() || m_prompts.ask(QStringLiteral("Zahodit neuložené změny?"));
}

bool DocumentLifecycle::newStation()
{
    if (m_saving || !discardConfirmed())
        return false;
    m_doc.resetForNew();
    emit stationReplaced();
    return true;
}

bool DocumentLifecycle::openStation()
{
    if (m_saving || !discardConfirmed())
        return false;
    const std::optional<QString> path = m_prompts.chooseOpenPath();
    return path && openFrom(*path);
}

bool DocumentLifecycle::openFrom(const QString &path)
{
    if (m_saving)
        return false;
    StationData read = m_doc.data().settingsOnly();
    const FileResult result = readStationFile(path, read);
    if (!result.ok()) {
        m_prompts.warn(result.error);
        return false;
    }
    m_doc.takeOver(std::move(read));
    m_doc.setCurrentPath(QFileInfo(path).absoluteFilePath());
    m_doc.setStatus(DocumentStatus::Loaded);
    emit stationReplaced();
    return true;
}

bool DocumentLifecycle::saveStation()
{
    if (m_saving)
        return false;
    if (m_doc.hasCurrentPath())
        return saveTo(m_doc.currentPath());
    return saveStationAs();
}

bool DocumentLifecycle::saveStationAs()
{
    if (m_saving)
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
    if (m_saving)
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
    return true;
}

bool DocumentLifecycle::confirmClose()
{
    if (m_saving)
        return false;
    if (!m_doc.isModified())
        return true;
    const QString name = QFileInfo(pathPanelText(m_doc)).fileName();
    return m_prompts.ask(QStringLiteral("Soubor ") + name + QStringLiteral(" byl upraven, zavřít bez uložení změn?"));
}

}  // namespace kalmor
