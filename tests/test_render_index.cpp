// The cell index: frames drawn through it against the plain walk over
// every record, with edits of every kind between them; and the change log
// of a list that it follows.
#include "render/index/ElementIndex.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"
#include "support/IndexProbe.h"
#include "support/RenderFixtures.h"
#include "support/TestRecords.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QtTest>

using namespace kalmor;

namespace {

// Records stack on these cells, all in the bucket of cell (0, 0), deep
// enough that the index thins them out.
constexpr std::array<QPoint, 5> StackCells{{{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}}};

// What edits of a list did, undone in turn: records taken out to be put
// back, and pastes to be taken off the end again; and the position edited
// last.
template <class Record>
struct Undo {
    std::vector<std::pair<std::vector<qint32>, std::vector<Record>>> taken;
    std::vector<qint32> pasted;
    qint32 edited = 0;
};

// Random records, a third of them on the stacked cells, and random edits
// of every kind a list has, from one seed.
class RandomEdits {
public:
    explicit RandomEdits(quint32 seed) : m_random(seed) {}

    int bounded(int lowest, int highest) { return m_random.bounded(lowest, highest); }

    TPolePanelu tile(bool stacked)
    {
        // Names the index keeps, a lamp name drawn plain, names found only
        // ignoring case, unknown ones; stacks of a few kinds that cover
        // each other only in part, so that a draw left out shows.
        static const std::array<const char *, 10> kinds{"KOL_sSDSH", "KOL_sLSPS", "STI_Cely_Dole", "VYH_sLSPS_sLDPS",
                                                       "KRI_sLDPH_sLHPD", "Ruzek_PH", "ZAR_OR_ZH", "kol_slsps",
                                                       "KOL_x", ""};
        const QPoint at = cell(stacked);
        const int kind = m_random.bounded(stacked ? 3 : int(kinds.size()));
        TPolePanelu t = kalmor::tile(at.x(), at.y(), QString::fromLatin1(kinds[std::size_t(kind)]));
        t.Cont_LH = m_random.bounded(4) == 0;
        t.Cont_LD = m_random.bounded(4) == 0;
        t.Cont_PH = m_random.bounded(4) == 0;
        t.Cont_PD = m_random.bounded(4) == 0;
        return t;
    }
    TPoleZarovka lamp(bool stacked)
    {
        // Stacked lamps repeat a few offsets; now and then one stands far
        // from its cell, or the lamp list holds another kind.
        const QPoint at = cell(stacked);
        const qint32 dx = stacked ? m_random.bounded(3) : m_random.bounded(-10, 48) * (m_random.bounded(20) ? 1 : 40);
        const qint32 dy = stacked ? 7 : m_random.bounded(-10, 48);
        return kalmor::lamp(at.x(), at.y(), dx, dy, m_random.bounded(8) ? "ZAR_ZE_ZH" : "KOL_sSDSH");
    }
    TPoleStitek plate(bool stacked)
    {
        const QPoint at = cell(stacked);
        return kalmor::plate(at.x(), at.y(), m_random.bounded(6) ? "STI_Cely_Nahore" : "ZAR_BI_ZH");
    }
    // Desk kinds (one in lower case, which no rule draws), a lamp name
    // drawn plain, and designations, some on the face, some under the
    // picture.
    TPolePrvek deskElement(bool stacked)
    {
        static const std::array<const char *, 6> kinds{"NAV_HL_P", "TLA_VC", "PRU_TXT", "RAD_VYH", "nav_se_l",
                                                      "ZAR_BI_ZH"};
        static const std::array<const char *, 4> texts{"", "S1", "5", "Se12"};
        const QPoint at = cell(stacked);
        return TPolePrvek{at.x(), at.y(), QString::fromLatin1(kinds[std::size_t(m_random.bounded(int(kinds.size())))]),
                          QString::fromLatin1(texts[std::size_t(m_random.bounded(int(texts.size())))])};
    }

    // One edit of the list; true when it ends what the list's log can
    // tell, so that the index builds the list again.
    template <class Record, class Make>
    bool edit(ElementList<Record> &list, Undo<Record> &undo, Make make)
    {
        const qint32 n = qint32(list.count());
        const int op = m_random.bounded(40);
        if (n < 16 || op < 4) {
            // Appends; now and then a paste of many, at times more than
            // the index groups at once.
            const qint32 paste = op != 0 ? 1 : m_random.bounded(8) ? m_random.bounded(50, 3000) : m_random.bounded(8000, 12000);
            for (qint32 k = 0; k < paste; ++k)
                list.append(make(m_random.bounded(3) == 0));
            undo.pasted.push_back(paste);
        } else if (op < 6) {
            // The undo of the latest paste, from the end.
            const qint32 paste = undo.pasted.empty() ? 1 : undo.pasted.back();
            for (qint32 k = 0; k < paste && !list.isEmpty(); ++k)
                list.removeAt(list.count() - 1);
            if (!undo.pasted.empty())
                undo.pasted.pop_back();
        } else if (op < 11) {
            undo.edited = m_random.bounded(n);
            list.replace(undo.edited, make(m_random.bounded(3) == 0));
        } else if (op < 19) {
            // Mostly not the last, so that the last moves into the gap.
            undo.edited = m_random.bounded(4) ? m_random.bounded(n - 1) : n - 1;
            list.removeAt(undo.edited);
        } else if (op < 29) {
            // Taken out with the rest closing up: near the end, so that
            // the list logs the tail, or from far before it, at times from
            // the position edited last.
            const bool near = op < 23;
            const qint32 far = m_random.bounded(2) && undo.edited < n ? undo.edited : m_random.bounded(n / 2);
            const qint32 from = near ? std::max(0, n - m_random.bounded(1, 64)) : far;
            const int gap = near ? 3 : m_random.bounded(2, 60);
            std::vector<qint32> positions;
            std::vector<Record> records;
            for (qint32 i = from; i < n; i += m_random.bounded(1, gap + 1)) {
                positions.push_back(i);
                records.push_back(list.at(i));
            }
            list.removeAll(positions);
            undo.taken.emplace_back(std::move(positions), std::move(records));
        } else if (op < 35) {
            // The undo of the latest, while the list is long enough for it.
            auto &taken = undo.taken;
            if (!taken.empty() && taken.back().first.back() < n + qint32(taken.back().first.size()))
                list.insertAll(taken.back().first, std::move(taken.back().second));
            if (!taken.empty())
                taken.pop_back();
        } else if (op < 38) {
            list.shift(m_random.bounded(-1, 2), m_random.bounded(-1, 2));
        } else if (op == 38) {
            list.clear();
            undo = {};
            return true;
        } else {
            // More single changes than the log holds (seven apart, as
            // neighbouring positions share one entry of it).
            for (std::size_t i = 0; i <= ListRevision::LogLimit; ++i)
                list.replace(qsizetype(i * 7 % std::size_t(n)), make(false));
            return true;
        }
        return false;
    }

    // A rectangle of surface pixels up to span on a side, over the stacks
    // or anywhere on the surface.
    QRect rect(const QSize &surface, int cellSize, int span)
    {
        const bool stacks = m_random.bounded(2) == 0;
        const QPoint at = stacks ? QPoint(m_random.bounded(-20, 4 * cellSize), m_random.bounded(-20, 3 * cellSize))
                                 : QPoint(m_random.bounded(-20, surface.width()), m_random.bounded(-20, surface.height()));
        return QRect(at, QSize(m_random.bounded(1, span), m_random.bounded(1, span)));
    }

private:
    QPoint cell(bool stacked)
    {
        if (stacked)
            return StackCells[std::size_t(m_random.bounded(int(StackCells.size())))];
        return QPoint(m_random.bounded(-2, 40), m_random.bounded(-2, 30));
    }

    QRandomGenerator m_random;
};

}  // namespace

class TestRenderIndex : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_images.count() == 88); }
    void indexEqualsPlainWalk_data();
    void indexEqualsPlainWalk();
    void indexFollowsLoad();
    void listChangeLog();

private:
    void checkAgainstPlainWalk(Composer &fast, const StationData &doc, const RenderState &state, const QRect &rect);
    ImageSet m_images;
};

void TestRenderIndex::checkAgainstPlainWalk(Composer &fast, const StationData &doc, const RenderState &state,
                                            const QRect &rect)
{
    CanvasState plainCanvas = fast.canvas;
    QImage plain;
    composeFrameWalkingEveryElement(plain, rect, doc, state, EditingView{}, m_images, plainCanvas);
    const QImage indexed = fast.compose(rect, doc, state);
    // Pixels outside the surface are not composed (and QImage::copy of an
    // empty rectangle would copy the whole image).
    const QRect inside = (rect & QRect(QPoint(0, 0), state.surfaceSize)).translated(-rect.topLeft());
    if (!inside.isEmpty())
        QCOMPARE(indexed.copy(inside), plain.copy(inside));
}

void TestRenderIndex::indexEqualsPlainWalk_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("tiles");
    QTest::addColumn<QList<int>>("cells");
    QTest::addColumn<int>("span");  // of the rectangles; past 256 a frame is drawn in tiles, on two threads

    // The first starts from the smallest case of a fault: the old last
    // record, left past the end by a removal and moved back below it by a
    // renumbering, hid an earlier record of its picture on its cell.
    QTest::newRow("leftover of a removal, then a long tail") << 1u << 0 << QList<int>{47} << 200;
    QTest::newRow("crowded cells, cell 47") << 203u << 6000 << QList<int>{47} << 700;
    QTest::newRow("crowded cells, cell 47, another seed") << 135u << 6000 << QList<int>{47} << 700;
    QTest::newRow("pixels ordered, cells 1 to 6") << 3u << 6000 << QList<int>{1, 2, 3, 4, 5, 6} << 400;
    QTest::newRow("reduced, cells 8 to 31") << 4u << 3000 << QList<int>{8, 12, 20, 31} << 600;
    QTest::newRow("enlarged stacks") << 5u << 3000 << QList<int>{87, 247} << 900;
    QTest::newRow("tails too long to log") << 6u << 40000 << QList<int>{4, 47} << 600;
}

void TestRenderIndex::indexEqualsPlainWalk()
{
    // Records stacked deep enough to be thinned out, odd and far lamp
    // offsets, borrowed lamps and unknown names, with several edits of
    // every kind between frames: each frame through the index equals
    // drawing every record in turn. The index follows every edit but
    // those that end the list's log, without building a list again.
    QFETCH(quint32, seed);
    QFETCH(int, tiles);
    QFETCH(QList<int>, cells);
    QFETCH(int, span);
    RandomEdits random(seed);
    StationData doc;
    if (tiles == 0) {
        doc.tiles.append(tile(1, 1, QStringLiteral("KOL_sLSPS")));
        doc.tiles.append(tile(40, 40, QStringLiteral("KOL_sLSPS")));
        for (int i = 2; i < 600; ++i)
            doc.tiles.append(tile(1, 1, QStringLiteral("STI_Cely_Dole")));
        doc.tiles.append(tile(1, 1, QStringLiteral("KOL_sSDSH")));
        for (int i = 601; i < 5999; ++i)
            doc.tiles.append(tile(random.bounded(16, 40), random.bounded(0, 30), QStringLiteral("KOL_sLSPS")));
        doc.tiles.append(tile(1, 1, QStringLiteral("KOL_sSDSH")));
    }
    for (int i = 0; i < tiles; ++i)
        doc.tiles.append(random.tile(random.bounded(0, 3) == 0));
    for (int i = 0; i < std::max(tiles, 2000) / 4; ++i)
        doc.lamps.append(random.lamp(random.bounded(0, 2) == 0));
    for (int i = 0; i < std::max(tiles, 2000) / 10; ++i)
        doc.plates.append(random.plate(random.bounded(0, 3) == 0));
    for (int i = 0; i < std::max(tiles, 2000) / 10; ++i)
        doc.deskElements.append(random.deskElement(random.bounded(0, 3) == 0));

    RenderState state;
    Composer fast{m_images, {}, {}};
    const auto frame = [&](int round) {
        state.cellSize = cells[round % cells.size()];
        state.surfaceSize = QSize(44 * state.cellSize, 34 * state.cellSize);
        state.switches.grid = random.bounded(0, 2) == 0;
        checkAgainstPlainWalk(fast, doc, state, random.rect(state.surfaceSize, state.cellSize, span));
        if (!QTest::currentTestFailed())
            checkAgainstPlainWalk(fast, doc, state, QRect(0, 0, 4 * state.cellSize, 3 * state.cellSize));
    };
    frame(0);
    if (tiles == 0) {
        doc.tiles.removeAt(0);
        doc.tiles.removeAll({1});
        checkAgainstPlainWalk(fast, doc, state, QRect(0, 0, 150, 150));
    }
    quint64 rebuilds = fast.index.rebuildCount();
    QCOMPARE(rebuilds, quint64(4));
    Undo<TPolePanelu> tilesUndo;
    Undo<TPoleZarovka> lampsUndo;
    Undo<TPoleStitek> platesUndo;
    Undo<TPolePrvek> deskUndo;
    for (int round = 1; round < 60; ++round) {
        if (QTest::currentTestFailed())
            return;
        std::array<bool, 4> rebuilt{};
        for (int edits = random.bounded(1, 9); edits > 0; --edits) {
            const int list = random.bounded(0, 11);
            if (list < 7)
                rebuilt[1] |= random.edit(doc.tiles, tilesUndo, [&](bool s) { return random.tile(s); });
            else if (list < 9)
                rebuilt[0] |= random.edit(doc.lamps, lampsUndo, [&](bool s) { return random.lamp(s); });
            else if (list < 10)
                rebuilt[2] |= random.edit(doc.plates, platesUndo, [&](bool s) { return random.plate(s); });
            else
                rebuilt[3] |= random.edit(doc.deskElements, deskUndo, [&](bool s) { return random.deskElement(s); });
        }
        rebuilds += std::count(rebuilt.begin(), rebuilt.end(), true);
        // At times followed as an editing command has it followed.
        if (random.bounded(0, 3) == 0) {
            fast.index.followNow(doc);
            QVERIFY(IndexProbe::followed(fast.index, doc));
        }
        frame(round);
        // (A frame that draws no element asks nothing of the index.)
        fast.index.catchUp(doc);
        QCOMPARE(fast.index.rebuildCount(), rebuilds);
    }
}

void TestRenderIndex::indexFollowsLoad()
{
    // A load moves another list into the document's: the index must not
    // keep the old one's buckets, even when both lists had one change.
    StationDocument document;
    document.tiles().append(tile(1, 1, "KOL_sSDSH"));
    Composer c{m_images, {}, {}};
    RenderState state;
    state.switches = ViewSwitches{false, false, false, false};
    const QRect farRight(900, 0, 200, 100);
    const QImage before = c.compose(farRight, document.data(), state);
    QCOMPARE(before.pixel(20 * 47 + 19 - 900, 47 + 5), before.pixel(0, 0));
    StationData loaded;
    loaded.tiles.append(tile(20, 1, "KOL_sSDSH"));
    document.takeOver(std::move(loaded));
    const QImage after = c.compose(farRight, document.data(), state);
    QVERIFY(after.pixel(20 * 47 + 19 - 900, 47 + 5) != after.pixel(0, 0));
}

void TestRenderIndex::listChangeLog()
{
    // What the index reads from a list: the positions single edits touched
    // since a revision, and nothing after a change of the whole list.
    ElementList<TPolePanelu> list;
    const quint64 start = list.revision();
    list.append(tile(1, 1, "A"));
    list.append(tile(2, 2, "B"));
    list.append(tile(3, 3, "C"));
    const quint64 three = list.revision();
    list.replace(1, tile(5, 5, "D"));
    list.removeAt(0);  // C moves to 0
    std::vector<qint32> changed;
    QVERIFY(list.positionsChangedSince(start, changed));
    QCOMPARE(changed, (std::vector<qint32>{0, 1, 2, 1, 0}));
    changed.clear();
    QVERIFY(list.positionsChangedSince(three, changed));
    QCOMPARE(changed, (std::vector<qint32>{1, 0}));
    changed.clear();
    QVERIFY(list.positionsChangedSince(list.revision(), changed));
    QVERIFY(changed.empty());

    list.shift(1, 0);
    QVERIFY(!list.positionsChangedSince(three, changed));
    const quint64 shifted = list.revision();
    list.append(tile(0, 0, "E"));
    QVERIFY(list.positionsChangedSince(shifted, changed));
    QCOMPARE(changed, (std::vector<qint32>{2}));
    changed.clear();

    ElementList<TPolePanelu> other;
    other.append(tile(9, 9, "F"));
    other = list;  // a load: the revision moves on, the log is gone
    QVERIFY(other.revision() > list.revision());
    QVERIFY(!other.positionsChangedSince(shifted, changed));
    QVERIFY(!other.positionsChangedSince(list.revision(), changed));

    const quint64 beforeMany = list.revision();
    for (std::size_t i = 0; i <= ListRevision::LogLimit; ++i)
        list.replace(0, tile(qint32(i), 0, "G"));
    QVERIFY(!list.positionsChangedSince(beforeMany, changed));
    QVERIFY(list.positionsChangedSince(list.revision() - 1, changed));
    QCOMPARE(changed, (std::vector<qint32>{0}));
    // Taking records out or putting them back changes every position from
    // the first one on: a short tail is logged, one past the end when the
    // tail is gone; a long one is not.
    const quint64 beforeTail = list.revision();  // G, D, E
    list.removeAll({1});                          // G, E
    list.insertAll({1}, {tile(3, 0, "J")});       // G, J, E
    list.removeAll({2});                          // G, J
    changed.clear();
    QVERIFY(list.positionsChangedSince(beforeTail, changed));
    QCOMPARE(changed, (std::vector<qint32>{1, 1, 2, 2}));
    QCOMPARE(names(list), QStringList({"G", "J"}));
    for (int i = 0; i < int(ListRevision::LogLimit) + 2; ++i)
        list.append(tile(i, 1, "K"));
    const quint64 beforeLong = list.revision();
    list.removeAll({0});
    QVERIFY(!list.positionsChangedSince(beforeLong, changed));
    list.clear();
    QVERIFY(!list.positionsChangedSince(list.revision() - 1, changed));

    // Runs of neighbouring positions share one entry of the log: what it
    // tells from any revision on equals a plain log of every change.
    QRandomGenerator random(99);
    ElementList<TPolePanelu> runs;
    std::vector<qint32> plainLog;  // the position of each change, -1 for a shift
    for (int i = 0; i < 3000; ++i) {
        const int op = random.bounded(5);
        if (op <= 1 || runs.isEmpty()) {
            for (int n = random.bounded(1, 40); n > 0; --n) {
                runs.append(tile(i, 0, "A"));
                plainLog.push_back(qint32(runs.count() - 1));
            }
        } else if (op == 2) {
            for (int n = random.bounded(1, 20); n > 0 && !runs.isEmpty(); --n) {
                plainLog.push_back(qint32(runs.count() - 1));
                runs.removeAt(runs.count() - 1);
            }
        } else if (op == 3) {
            const qint32 at = random.bounded(qint32(runs.count()));
            runs.replace(at, tile(0, 0, "B"));
            plainLog.push_back(at);
        } else {
            runs.shift(1, 0);
            plainLog.push_back(-1);
        }
    }
    QCOMPARE(runs.revision(), quint64(plainLog.size()));
    std::vector<ListRevision::RenumberedAt> renumbered;
    for (int k = 0; k < 200; ++k) {
        const std::size_t since = random.bounded(quint32(plainLog.size() + 1));
        std::vector<qint32> expected;
        bool shifted = false;
        for (auto it = plainLog.cbegin() + std::ptrdiff_t(since); it != plainLog.cend(); ++it) {
            shifted |= *it < 0;
            if (*it >= 0)
                expected.push_back(*it);
        }
        changed.clear();
        QVERIFY(runs.changesSince(since, changed, renumbered));
        QCOMPARE(changed, expected);
        QVERIFY(renumbered.empty());
        changed.clear();
        QCOMPARE(runs.positionsChangedSince(since, changed), !shifted);
    }
    // A paste longer than the log is one entry: a reader that follows
    // runs is told it, a reader of positions alone only up to the limit.
    const quint64 beforePaste = runs.revision();
    for (std::size_t i = 0; i < 2 * ListRevision::LogLimit; ++i)
        runs.append(tile(0, 0, "C"));
    changed.clear();
    QVERIFY(runs.changesSince(beforePaste, changed, renumbered));
    QCOMPARE(changed.size(), 2 * ListRevision::LogLimit);
    QCOMPARE(changed.back(), qint32(runs.count() - 1));
    QVERIFY(!runs.positionsChangedSince(beforePaste, changed));
}

QTEST_MAIN(TestRenderIndex)
#include "test_render_index.moc"
