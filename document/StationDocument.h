#pragma once

#include "document/Colours.h"
#include "document/ElementList.h"
#include "document/Records.h"

#include <QObject>
#include <QString>

#include <functional>

namespace kalmor {

inline const QString ProgramTitle = QStringLiteral("Kalmor v0.5");

enum class DocumentStatus { New, Modified, Saved, Loaded };

// "Nový", "Upraveno", "Uloženo" or "Načteno".
QString statusText(DocumentStatus s);

inline constexpr qint32 MinPanelCells = 10;
inline constexpr qint32 MaxPanelCells = 4000;
qint32 clampPanelCells(qint64 cells);

// Everything a station file holds: panel settings, station texts, the
// four element lists and the areas. A plain value, so a load can fill a fresh copy and
// hand it over only once the whole file was read.
struct StationData {
    qint32 rows = 50;
    qint32 columns = 150;
    Colour backgroundColour = clMedGray;
    QString stationName;
    QString description;
    QString author;
    QString version;
    QString issueDate;
    ElementList<TPolePanelu> tiles;
    ElementList<TPoleZarovka> lamps;
    ElementList<TPoleStitek> plates;
    // Areas are no elements: they are written after them and do not count
    // as something on the panel.
    ElementList<TOblast> areas;
    ElementList<TPolePrvek> deskElements;

    bool hasAnyElement() const
    {
        return !tiles.isEmpty() || !lamps.isEmpty() || !plates.isEmpty() || !deskElements.isEmpty();
    }
    qsizetype elementCount() const { return tiles.count() + lamps.count() + plates.count() + deskElements.count(); }

    // The same settings and texts with empty lists and no areas: what a load starts from,
    // so that settings the file does not mention keep their values.
    StationData settingsOnly() const;
};

// Work that belongs to a load besides reading, such as the renderer's cell
// index: it runs on the loading thread with the station read, and what it
// returns runs on the user-interface thread once the document has taken
// that station over.
using LoadFollower = std::function<std::function<void()>(const StationData &read)>;

// The one station being edited. Dialogs are views of it: they write into
// it as soon as a control changes and follow its signals when a load or
// New changes it. Every change of something a save writes marks it
// modified, so no edit can be dropped without the question.
class StationDocument : public QObject {
    Q_OBJECT
public:
    explicit StationDocument(QObject *parent = nullptr);

    const StationData &data() const { return m_data; }

    qint32 rows() const { return m_data.rows; }
    qint32 columns() const { return m_data.columns; }
    Colour backgroundColour() const { return m_data.backgroundColour; }
    void setRows(qint64 rows);
    void setColumns(qint64 columns);
    void setBackgroundColour(Colour c);

    const QString &stationName() const { return m_data.stationName; }
    const QString &description() const { return m_data.description; }
    const QString &author() const { return m_data.author; }
    const QString &version() const { return m_data.version; }
    const QString &issueDate() const { return m_data.issueDate; }
    void setStationName(const QString &s);
    void setDescription(const QString &s);
    void setAuthor(const QString &s);
    void setVersion(const QString &s);
    void setIssueDate(const QString &s);

    // The lists are changed in place by placement and shift; the renderer
    // reads them on the next frame.
    ElementList<TPolePanelu> &tiles() { return m_data.tiles; }
    ElementList<TPoleZarovka> &lamps() { return m_data.lamps; }
    ElementList<TPoleStitek> &plates() { return m_data.plates; }
    ElementList<TPolePrvek> &deskElements() { return m_data.deskElements; }
    const ElementList<TPolePanelu> &tiles() const { return m_data.tiles; }
    const ElementList<TPoleZarovka> &lamps() const { return m_data.lamps; }
    const ElementList<TPoleStitek> &plates() const { return m_data.plates; }
    ElementList<TOblast> &areas() { return m_data.areas; }
    const ElementList<TOblast> &areas() const { return m_data.areas; }
    const ElementList<TPolePrvek> &deskElements() const { return m_data.deskElements; }
    bool hasAnyElement() const { return m_data.hasAnyElement(); }

    DocumentStatus status() const { return m_status; }
    bool isModified() const { return m_status == DocumentStatus::Modified; }
    void setStatus(DocumentStatus s);
    void markModified() { setStatus(DocumentStatus::Modified); }

    // Full path of the station file last loaded or saved; empty when none.
    const QString &currentPath() const { return m_path; }
    bool hasCurrentPath() const { return !m_path.isEmpty(); }
    void setCurrentPath(const QString &path);

    // Takes over a completely read station; the caller sets status and path.
    void takeOver(StationData &&data);

    // New: empty lists and no areas, no file, status "Nový", 50 rows and 100 columns;
    // texts and background colour stay.
    void resetForNew();

signals:
    void settingsChanged();
    void textsChanged();
    void statusChanged();
    void pathChanged();
    void elementsReplaced();

private:
    void setText(QString StationData::*field, const QString &s);

    StationData m_data;
    DocumentStatus m_status = DocumentStatus::New;
    QString m_path;
};

}  // namespace kalmor
