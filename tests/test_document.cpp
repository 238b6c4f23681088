#include "document/StationDocument.h"
#include "support/TestRecords.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <map>

using namespace kalmor;

namespace {

// The rule the index must reproduce: walk the list from the start.
qsizetype linearFirstAt(const std::vector<TPolePanelu> &model, qint32 x, qint32 y)
{
    for (std::size_t i = 0; i < model.size(); ++i) {
        if (model[i].X == x && model[i].Y == y)
            return qsizetype(i);
    }
    return -1;
}

}  // namespace

class TestDocument : public QObject {
    Q_OBJECT
private slots:
    void startAndNew()
    {
        StationDocument doc;
        QCOMPARE(doc.rows(), 50);
        QCOMPARE(doc.columns(), 150);
        QCOMPARE(doc.backgroundColour(), clMedGray);
        QCOMPARE(doc.status(), DocumentStatus::New);
        QVERIFY(!doc.hasCurrentPath());
        QVERIFY(!doc.hasAnyElement());
        QCOMPARE(statusText(doc.status()), QStringLiteral("Nový"));

        doc.setStationName(QStringLiteral("Beroun"));
        doc.setBackgroundColour(rgbColour(1, 2, 3));
        doc.setRows(70);
        doc.lamps().append({1, 1, 0, 0, QStringLiteral("ZAR_CE_ZH")});
        doc.setCurrentPath(QStringLiteral("/tmp/a.stvx"));
        doc.resetForNew();
        QCOMPARE(doc.rows(), 50);
        QCOMPARE(doc.columns(), 100);
        QCOMPARE(doc.stationName(), QStringLiteral("Beroun"));  // texts and colour survive New
        QCOMPARE(doc.backgroundColour(), rgbColour(1, 2, 3));
        QVERIFY(!doc.hasAnyElement());
        QVERIFY(!doc.hasCurrentPath());
        QCOMPARE(doc.status(), DocumentStatus::New);
    }

    void everyChangeASaveWritesMarksModified()
    {
        StationDocument doc;
        QSignalSpy status(&doc, &StationDocument::statusChanged);
        doc.setRows(50);  // unchanged: no mark
        doc.setStationName(QString());
        QCOMPARE(doc.status(), DocumentStatus::New);
        QCOMPARE(status.count(), 0);

        const std::function<void()> edits[] = {
            [&] { doc.setRows(5); },
            [&] { doc.setColumns(5000); },
            [&] { doc.setBackgroundColour(clGray); },
            [&] { doc.setStationName(QStringLiteral("x")); },
            [&] { doc.setDescription(QStringLiteral("x")); },
            [&] { doc.setAuthor(QStringLiteral("x")); },
            [&] { doc.setVersion(QStringLiteral("x")); },
            [&] { doc.setIssueDate(QStringLiteral("x")); },
        };
        for (const auto &edit : edits) {
            doc.setStatus(DocumentStatus::Saved);
            edit();
            QCOMPARE(doc.status(), DocumentStatus::Modified);
        }
        // Rows and columns are kept within 10 to 4000.
        QCOMPARE(doc.rows(), 10);
        QCOMPARE(doc.columns(), 4000);
        QCOMPARE(clampPanelCells(-5'000'000'000LL), 10);
    }

    void listDiscipline()
    {
        ElementList<TPolePanelu> list;
        list.append(tile(0, 0, "A"));
        list.append(tile(1, 0, "B"));
        list.append(tile(2, 0, "C"));
        list.append(tile(3, 0, "D"));
        list.removeAt(1);
        QCOMPARE(names(list), (QStringList{"A", "D", "C"}));
        QCOMPARE(list.firstAt(3, 0), 1);
        QCOMPARE(list.firstAt(1, 0), -1);
        list.removeAt(2);  // the last one: nothing moves
        QCOMPARE(names(list), (QStringList{"A", "D"}));
        list.replace(0, tile(7, 7, "E"));
        QCOMPARE(list.firstAt(0, 0), -1);
        QCOMPARE(list.firstAt(7, 7), 0);
        list.removeAt(0);
        list.removeAt(0);
        QVERIFY(list.isEmpty());
        QCOMPARE(list.firstAt(3, 0), -1);
    }

    void duplicatesAnswerInListOrder()
    {
        ElementList<TPolePanelu> list;
        list.append(tile(5, 5, "first"));
        list.append(tile(1, 1, "other"));
        list.append(tile(5, 5, "second"));
        list.append(tile(5, 5, "third"));
        QCOMPARE(list.firstAt(5, 5), 0);
        list.removeAt(0);  // "third" moves into place 0 and is now first
        QCOMPARE(names(list), (QStringList{"third", "other", "second"}));
        QCOMPARE(list.firstAt(5, 5), 0);
        list.removeAt(0);  // "second" moves to 0
        QCOMPARE(list.firstAt(5, 5), 0);
        QCOMPARE(list.at(0).NAME, QStringLiteral("second"));
        list.removeAt(0);
        QCOMPARE(list.firstAt(5, 5), -1);
        QCOMPARE(list.firstAt(1, 1), 0);
    }

    void shiftKeepsTheIndex()
    {
        ElementList<TPolePanelu> list;
        list.append(tile(0, 0, "A"));
        list.append(tile(2, 3, "B"));
        list.shift(1, 2);
        QCOMPARE(list.at(1).X, 3);
        QCOMPARE(list.at(1).Y, 5);
        QCOMPARE(list.firstAt(3, 5), 1);
        QCOMPARE(list.firstAt(2, 3), -1);
        list.append(tile(3, 5, "C"));  // a duplicate after a shift
        list.removeAt(1);
        QCOMPARE(list.firstAt(3, 5), 1);
        QCOMPARE(list.at(1).NAME, QStringLiteral("C"));
        // Extreme coordinates from a file neither overflow nor collide.
        list.append(tile(std::numeric_limits<qint32>::max(), std::numeric_limits<qint32>::min(), "D"));
        list.shift(-5, 5);
        QCOMPARE(list.firstAt(std::numeric_limits<qint32>::max() - 5, std::numeric_limits<qint32>::min() + 5), 2);
        QCOMPARE(list.firstAt(-4, 7), 0);
    }

    // The index answers exactly like a walk over the list, whatever mix of
    // appends, replacements, removals and shifts came before.
    void indexMatchesLinearRule()
    {
        QRandomGenerator rng(20261208);
        ElementList<TPolePanelu> list;
        std::vector<TPolePanelu> model;
        for (int step = 0; step < 4000; ++step) {
            const int op = int(rng.bounded(10));
            const auto x = qint32(rng.bounded(6));
            const auto y = qint32(rng.bounded(4));
            if (op < 4 || model.empty()) {
                const TPolePanelu t = tile(x, y, "n");
                list.append(t);
                model.push_back(t);
            } else if (op < 6) {
                const auto i = qsizetype(rng.bounded(quint32(model.size())));
                const TPolePanelu t = tile(x, y, "r");
                list.replace(i, t);
                model[std::size_t(i)] = t;
            } else if (op < 9) {
                const auto i = std::size_t(rng.bounded(quint32(model.size())));
                list.removeAt(qsizetype(i));
                model[i] = model.back();
                model.pop_back();
            } else {
                const qint32 dx = qint32(rng.bounded(3)) - 1;
                const qint32 dy = qint32(rng.bounded(3)) - 1;
                list.shift(dx, dy);
                for (TPolePanelu &t : model) {
                    t.X += dx;
                    t.Y += dy;
                }
            }
            QCOMPARE(list.count(), qsizetype(model.size()));
            if (step % 7 != 0)
                continue;
            for (qint32 qx = -3; qx < 9; ++qx) {
                for (qint32 qy = -3; qy < 7; ++qy)
                    QCOMPARE(list.firstAt(qx, qy), linearFirstAt(model, qx, qy));
            }
        }
        for (std::size_t i = 0; i < model.size(); ++i)
            QCOMPARE(list.at(qsizetype(i)), model[i]);
    }

    void bulkRemovalAndReinsertion()
    {
        // A list filled in bulk loses and gets back many records at a time,
        // near its start (too many behind to follow one by one) and near its
        // end, mixed with single edits: the first and last record at every
        // cell stay those a walk through the list finds.
        QRandomGenerator rng(1409);
        const auto anyTile = [&rng] { return tile(qint32(rng.bounded(6)), qint32(rng.bounded(4)), "n"); };
        std::vector<TPolePanelu> model(std::size_t(ListRevision::LogLimit) + 5000);
        std::generate(model.begin(), model.end(), anyTile);
        ElementList<TPolePanelu> list;
        list.appendAll(model);
        for (int round = 0; round < 40; ++round) {
            const qint32 from = rng.bounded(2) ? qint32(rng.bounded(100)) : qint32(model.size()) - 300;
            std::vector<qint32> positions;
            std::vector<TPolePanelu> taken;
            for (qint32 p = from; p < qint32(model.size()); p += 1 + qint32(rng.bounded(4000))) {
                positions.push_back(p);
                taken.push_back(model[std::size_t(p)]);
            }
            list.removeAll(positions);
            for (auto it = positions.rbegin(); it != positions.rend(); ++it)
                model.erase(model.begin() + *it);
            if (rng.bounded(2)) {
                list.insertAll(positions, taken);
                for (std::size_t k = 0; k < positions.size(); ++k)
                    model.insert(model.begin() + positions[k], taken[k]);
            }
            const auto i = qsizetype(rng.bounded(quint32(model.size())));
            const TPolePanelu t = anyTile();
            list.replace(i, t);
            model[std::size_t(i)] = t;
            list.append(t);
            model.push_back(t);

            std::map<std::pair<qint32, qint32>, std::pair<qsizetype, qsizetype>> firstAndLast;
            for (std::size_t k = 0; k < model.size(); ++k)
                firstAndLast.try_emplace({model[k].X, model[k].Y}, k, k).first->second.second = qsizetype(k);
            QCOMPARE(list.count(), qsizetype(model.size()));
            for (const auto &[cell, expected] : firstAndLast) {
                QCOMPARE(list.firstAt(cell.first, cell.second), expected.first);
                QCOMPARE(list.lastAt(cell.first, cell.second), expected.second);
            }
        }
        for (std::size_t k = 0; k < model.size(); ++k)
            QCOMPARE(list.at(qsizetype(k)), model[k]);
    }
};

QTEST_APPLESS_MAIN(TestDocument)
#include "test_document.moc"
