#include "wiring/WiringEdits.h"

#include "document/SafeFile.h"
#include "document/StationHistory.h"
#include "document/Windows1250.h"

#include <algorithm>
#include <map>

namespace kalmor {

void setAddresses(StationHistory &history, const IoPoints &points, std::span<const qint32> chosen,
                  std::span<const std::optional<IoAddress>> addresses, const QString &stepName)
{
    // Every record changes once, however many of its points change.
    std::map<std::pair<IoList, qint32>, std::vector<std::size_t>> byRecord;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        const IoPoint &p = points.at(chosen[k]);
        byRecord[{p.list, p.position}].push_back(k);
    }
    StationEdit edit(history.document());
    edit.reserve(qsizetype(byRecord.size()));
    for (const auto &[record, changes] : byRecord) {
        ioListOf(history.document().data(), record.first, [&](const auto &list) {
            auto r = list.at(record.second);
            for (const std::size_t k : changes) {
                const IoPoint &p = points.at(chosen[k]);
                r.IO.set(*IoRoleCode::from(points.key(p)), addresses[k]);
            }
            if (!(r == list.at(record.second)))
                edit.replace(record.second, std::move(r));
        });
    }
    history.commitModifying(std::move(edit), stepName);
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
