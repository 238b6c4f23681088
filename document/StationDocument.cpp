#include "document/StationDocument.h"

#include <algorithm>

namespace kalmor {

QString statusText(DocumentStatus s)
{
    switch (s) {
    case DocumentStatus::New: return QStringLiteral("Nový");
    case DocumentStatus::Modified: return QStringLiteral("Upraveno");
    case DocumentStatus::Saved: return QStringLiteral("Uloženo");
    case DocumentStatus::Loaded: return QStringLiteral("Načteno");
    }
    return {};
}

qint32 clampPanelCells(qint64 cells)
{
    return qint32(std::clamp<qint64>(cells, MinPanelCells, MaxPanelCells));
}

StationData StationData::settingsOnly() const
{
    StationData d;
    d.rows = rows;
    d.columns = columns;
    d.backgroundColour = backgroundColour;
    d.stationName = stationName;
    d.description = description;
    d.author = author;
    d.version = version;
    d.issueDate = issueDate;
    return d;
}

StationDocument::StationDocument(QObject *parent) : QObject(parent) {}

void StationDocument::setRows(qint64 rows)
{
    const qint32 v = clampPanelCells(rows);
    if (v == m_data.rows)
        return;
    m_data.rows = v;
    emit settingsChanged();
    markModified();
}

void StationDocument::setColumns(qint64 columns)
{
    const qint32 v = clampPanelCells(columns);
    if (v == m_data.columns)
        return;
    m_data.columns = v;
    emit settingsChanged();
    markModified();
}

void StationDocument::setBackgroundColour(Colour c)
{
    if (c == m_data.backgroundColour)
        return;
    m_data.backgroundColour = c;
    emit settingsChanged();
    markModified();
}

void StationDocument::setText(QString StationData::*field, const QString &s)
{
    if (m_data.*field == s)
        return;
    m_data.*field = s;
    emit textsChanged();
    markModified();
}

void StationDocument::setStationName(const QString &s) { setText(&StationData::stationName, s); }
void StationDocument::setDescription(const QString &s) { setText(&StationData::description, s); }
void StationDocument::setAuthor(const QString &s) { setText(&StationData::author, s); }
void StationDocument::setVersion(const QString &s) { setText(&StationData::version, s); }
void StationDocument::setIssueDate(const QString &s) { setText(&StationData::issueDate, s); }

void StationDocument::setStatus(DocumentStatus s)
{
    if (s == m_status)
        return;
    m_status = s;
    emit statusChanged();
}

void StationDocument::setCurrentPath(const QString &path)
{
    if (path == m_path)
        return;
    m_path = path;
    emit pathChanged();
}

void StationDocument::takeOver(StationData &&data)
{
    m_data = std::move(data);
    emit settingsChanged();
    emit textsChanged();
    emit elementsReplaced();
}

void StationDocument::resetForNew()
{
    m_data.tiles.clear();
    m_data.lamps.clear();
    m_data.plates.clear();
    m_data.areas.clear();
    m_data.deskElements.clear();
    m_data.rows = 50;
    m_data.columns = 100;
    setCurrentPath({});
    setStatus(DocumentStatus::New);
    emit settingsChanged();
    emit elementsReplaced();
}

}  // namespace kalmor
