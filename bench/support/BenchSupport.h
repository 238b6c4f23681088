#pragma once

// What several benchmarks share: timing, peak memory and the large
// stations they measure on.
#include "catalogue/ElementKinds.h"
#include "document/StationDocument.h"
#include "document/UserPrompts.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace kalmor::bench {

// Answers No and cancels every dialog; counts the messages shown.
class SilentPrompts : public UserPrompts {
public:
    int messages = 0;
    bool ask(const QString &) override { return false; }
    void inform(const QString &) override { ++messages; }
    void warn(const QString &) override { ++messages; }
    std::optional<QString> chooseOpenPath() override { return std::nullopt; }
    std::optional<QString> chooseSavePath() override { return std::nullopt; }
    std::optional<Colour> chooseColour(Colour) override { return std::nullopt; }
};

// Median wall time of `runs` calls, in milliseconds.
inline double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<qint64> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed());
    }
    std::sort(times.begin(), times.end());
    return double(times[times.size() / 2]) / 1e6;
}

// Wall time of one call, in milliseconds.
inline double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

// Peak resident memory of the process so far, in megabytes.
inline long peakMegabytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

inline std::vector<QString> trackKinds()
{
    std::vector<QString> kinds;
    for (const KindInfo &kind : allKinds()) {
        if (elementClassOf(QString::fromLatin1(kind.name)) == ElementClass::TrackTile)
            kinds.push_back(QString::fromLatin1(kind.name));
    }
    return kinds;
}

// The 1.2-million-element station: a 4000 x 4000 panel with 1,000,000
// tiles of every track kind, 100,000 lamps and 100,000 plates at random
// cells (fixed seed), so cells hold stacked records too.
inline StationData bigStation()
{
    QRandomGenerator random(2026);
    const std::vector<QString> kinds = trackKinds();
    const std::array<QString, 4> lamps{QStringLiteral("ZAR_CE_ZH"), QStringLiteral("ZAR_OR_ZH"),
                                       QStringLiteral("ZAR_BI_ZH"), QStringLiteral("ZAR_ZE_ZH")};
    const std::array<QString, 3> plates{QStringLiteral("STI_Cely_Dole"), QStringLiteral("STI_Cely_Nahore"),
                                        QStringLiteral("STI_Cely_Uprostred")};
    StationData doc;
    doc.rows = doc.columns = 4000;
    doc.stationName = QStringLiteral("Velká stanice");
    doc.tiles.reserve(1000000);
    for (int i = 0; i < 1000000; ++i) {
        TPolePanelu t;
        t.X = random.bounded(4000);
        t.Y = random.bounded(4000);
        t.NAME = kinds[random.bounded(int(kinds.size()))];
        const int corners = random.bounded(16);
        t.Cont_LH = corners == 1;
        t.Cont_LD = corners == 2;
        t.Cont_PH = corners == 3;
        t.Cont_PD = corners == 4;
        doc.tiles.append(std::move(t));
    }
    doc.lamps.reserve(100000);
    for (int i = 0; i < 100000; ++i)
        doc.lamps.append(TPoleZarovka{qint32(random.bounded(4000)), qint32(random.bounded(4000)),
                                      qint32(random.bounded(48)), qint32(random.bounded(48)), lamps[i % 4]});
    doc.plates.reserve(100000);
    for (int i = 0; i < 100000; ++i)
        doc.plates.append(TPoleStitek{plates[i % 3], qint32(random.bounded(4000)), qint32(random.bounded(4000))});
    return doc;
}

// Adds `count` plates carrying texts of 1 to 12 characters (Czech
// letters, digits and spaces among them) at random cells (fixed seed).
inline void addTextPlates(StationData &doc, int count)
{
    QRandomGenerator random(24);
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzěščřžýáíéúůABCDKLMSŘŽ0123456789 ");
    const std::array<QString, 3> kinds{QStringLiteral("STI_Cely_Dole"), QStringLiteral("STI_Cely_Nahore"),
                                       QStringLiteral("STI_Cely_Uprostred")};
    doc.plates.reserve(doc.plates.count() + count);
    for (int i = 0; i < count; ++i) {
        const qint32 x = qint32(random.bounded(doc.columns));
        const qint32 y = qint32(random.bounded(doc.rows));
        QString text;
        const int length = random.bounded(1, 13);
        for (int c = 0; c < length; ++c)
            text += letters.at(random.bounded(letters.size()));
        doc.plates.append(TPoleStitek{kinds[std::size_t(i % 3)], x, y, text});
    }
}

// Adds `count` desk elements of every desk kind at random cells (fixed
// seed), each with a designation of 1 to 4 characters ("S1", "Se12", "5").
inline void addDeskElements(StationData &doc, int count)
{
    QRandomGenerator random(25);
    std::vector<QString> kinds;
    for (const KindInfo &kind : allKinds()) {
        if (elementClassOf(QString::fromLatin1(kind.name)) == ElementClass::DeskElement)
            kinds.push_back(QString::fromLatin1(kind.name));
    }
    const std::array<QString, 4> prefixes{QStringLiteral("S"), QStringLiteral("Se"), QStringLiteral("L"), QString()};
    doc.deskElements.reserve(doc.deskElements.count() + count);
    for (int i = 0; i < count; ++i) {
        const QString text = prefixes[std::size_t(random.bounded(4))] + QString::number(random.bounded(1, 100));
        doc.deskElements.append(TPolePrvek{qint32(random.bounded(doc.columns)), qint32(random.bounded(doc.rows)),
                                           kinds[std::size_t(random.bounded(int(kinds.size())))], text});
    }
}

// The 1.2-million-element station with 100,000 desk elements.
inline StationData bigDeskStation()
{
    StationData doc = bigStation();
    addDeskElements(doc, 100000);
    return doc;
}

// A legal but hostile file: `perCell` tiles of every track kind in turn on
// each of `cells` cells along row 2 of a 4000 x 4000 panel.
inline StationData stackedStation(int cells, int perCell)
{
    const std::vector<QString> kinds = trackKinds();
    StationData doc;
    doc.rows = doc.columns = 4000;
    doc.tiles.reserve(qsizetype(cells) * perCell);
    for (int c = 0; c < cells; ++c) {
        for (int k = 0; k < perCell; ++k) {
            TPolePanelu t;
            t.X = 2 + c;
            t.Y = 2;
            t.Cont_LH = k % 5 == 0;
            t.NAME = kinds[std::size_t(k) % kinds.size()];
            doc.tiles.append(std::move(t));
        }
    }
    return doc;
}

}  // namespace kalmor::bench
