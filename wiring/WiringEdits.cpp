#include "wiring/WiringEdits.h"

#include "document/SafeFile.h"
#include "document/StationHistory.h"
#include "document/Windows1250.h"

#include <algorithm>

namespace kalmor {

StationEdit addressEdit(StationDocument &doc, const IoPoints &points, std::span<const qint32> chosen,
                        std::span<const std::optional<IoAddress>> addresses)
{
    // Every record changes once, however many of its points change: the
    // points of a record stand together, so the changes taken in the
    // points' order come record by record.
    std::vector<qint32> changeOf(std::size_t(points.size()), -1);
    for (std::size_t k = 0; k < chosen.size(); ++k)
        changeOf[std::size_t(chosen[k])] = qint32(k);
    StationEdit edit(doc);
    edit.reserve(qsizetype(chosen.size()));
    for (qint32 i = 0; i < qint32(changeOf.size());) {
        if (changeOf[std::size_t(i)] < 0) {
            ++i;
            continue;
        }
        const IoPoint &first = points.at(i);
        const qint32 end = points.pointsOfRecord(first.list, first.position).second;
        ioListOf(doc.data(), first.list, [&](const auto &list) {
            auto r = list.at(first.position);
            for (qint32 j = i; j < end; ++j) {
                if (const qint32 k = changeOf[std::size_t(j)]; k >= 0)
                    r.IO.set(*IoRoleCode::from(points.key(points.at(j))), addresses[std::size_t(k)]);
            }
            if (!(r.IO == list.at(first.position).IO))
                edit.replace(first.position, std::move(r));
        });
        i = end;
    }
    return edit;
}

void addArea(StationHistory &history, const TOblast &area)
{
    StationEdit edit(history.document());
    edit.append(area);
    history.commitModifying(std::move(edit), QStringLiteral("Přidání oblasti"));
}

void renameArea(StationHistory &history, qint32 position, const QString &name)
{
    TOblast area = history.document().areas().at(position);
    if (area.NAME == name)
        return;
    area.NAME = name;
    StationEdit edit(history.document());
    edit.replace(position, std::move(area));
    history.commitModifying(std::move(edit), QStringLiteral("Přejmenování oblasti"));
}

void deleteAreas(StationHistory &history, std::vector<qint32> positions)
{
    StationEdit edit(history.document());
    edit.removeAll<TOblast>(std::move(positions));
    history.commitModifying(std::move(edit), QStringLiteral("Smazání oblasti"));
}

bool isAreaName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u';') && !name.contains(u'\n') && !name.contains(u'\r')
        && isWindows1250Text(name);
}

QString freeAreaName(const StationData &doc)
{
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Oblast %1").arg(n);
        if (std::none_of(doc.areas.begin(), doc.areas.end(), [&name](const TOblast &a) { return a.NAME == name; }))
            return name;
    }
}

QString writeTableFile(const QString &path, const QByteArray &bytes)
{
    SafeFile out(path);
    if (out.open() && out.write(bytes) && out.commit())
        return {};
    return out.error();
}

}  // namespace kalmor
