// The undo history: random gestures through the real entry points taken
// back and made again byte for byte, list order after undoing removals
// from stacked cells, and the history across Save, Open and New.
#include "bench/support/BenchSupport.h"
#include "document/DocumentLifecycle.h"
#include "document/IoAddress.h"
#include "document/StationFile.h"
#include "document/StationHistory.h"
#include "editing/PointerInput.h"
#include "editing/ShiftElements.h"
#include "render/index/ElementIndex.h"
#include "support/IndexProbe.h"
#include "support/ScriptedPrompts.h"
#include "support/StationBytes.h"
#include "support/TestRecords.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

using namespace kalmor;

namespace {

constexpr int Cell = 47;

class QuietHost : public LifecycleHost {
public:
    std::function<void()> onStep;
    void hideAllPanels() override {}
    void showAllPanels() override {}
    void setMenuSectionEnabled(MenuSection, bool) override {}
    void showProgress(const QString &, qsizetype) override {}
    void stepProgress() override { onStep(); }
    void hideProgress() override {}
    void setEditingLocked(bool) override {}
};

// The station as a save writes it.
QByteArray saved(const StationDocument &doc, const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("saved.stvx"));
    if (!writeStationFile(path, doc.data()).ok())
        return "<not written>";
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// The program's editing entry points with a random hand on them. The
// pointer reaches cells -2 .. reach - 1 in both directions.
struct Editor {
    StationDocument doc;
    StationHistory history{doc};
    ScriptedPrompts prompts;
    QuietHost host;
    DocumentLifecycle life{doc, prompts, host};
    PlacementInputs inputs;
    PointerInput pointer{history, [] { return Cell; }, [this] { return inputs; }};
    QRandomGenerator random;
    int reach;

    Editor(quint32 seed, int reach) : random(seed), reach(reach)
    {
        history.follow(life);
        host.onStep = [] {};
    }

    int cell() { return random.bounded(-2, reach); }
    static int pixel(int cell) { return cell * Cell + (cell < 0 ? -5 : 5); }

    void drag()
    {
        static const std::array<QString, 5> kinds{QStringLiteral("KOL_sLSPS"), QStringLiteral("VYH_sLSPS_sLDPS"),
                                                  QStringLiteral("ZAR_CE_ZH"), QStringLiteral("STI_Cely_Dole"),
                                                  QStringLiteral("ZAR_OR_ZH")};
        inputs.kind = kinds[random.bounded(int(kinds.size()))];
        for (bool &flag : inputs.flags)
            flag = random.bounded(2);
        inputs.lampOffsetX = random.bounded(48);
        inputs.lampOffsetY = random.bounded(48);
        const QPoint from(cell(), cell());
        QPoint to = from;
        if (random.bounded(3) == 0)
            to.rx() += random.bounded(1, 9);  // a row fill
        else if (random.bounded(4) == 0)
            to = QPoint(cell(), cell());
        const std::array buttons{Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        const Qt::MouseButton button = buttons[random.bounded(4)];
        pointer.mouseMoved(pixel(from.x()), pixel(from.y()));
        pointer.mousePressed(button, pixel(from.x()), pixel(from.y()));
        pointer.mouseMoved(pixel(to.x()), pixel(to.y()));
        pointer.mouseReleased(button, pixel(to.x()), pixel(to.y()));
    }

    // A step on the desk elements made through the history's record-level
    // changes: an append, a replace, a removal of one or of several.
    void deskEdit()
    {
        StationEdit edit(doc);
        const qsizetype count = doc.deskElements().count();
        TPolePrvek p{cell(), cell(), random.bounded(2) ? QStringLiteral("NAV_HL_L") : QStringLiteral("TLA_VC"),
                     QString::number(random.bounded(20))};
        if (random.bounded(2))
            p.IO.set(*IoRoleCode::from("CE"), IoAddress{1, quint16(random.bounded(1, 100))});
        const int what = count == 0 ? 0 : random.bounded(4);
        if (what == 0)
            edit.append(std::move(p));
        else if (what == 1)
            edit.replace(random.bounded(count), std::move(p));
        else if (what == 2)
            edit.removeAt<TPolePrvek>(random.bounded(count));
        else if (count == 1)
            edit.removeAll<TPolePrvek>({0});
        else
            edit.removeAll<TPolePrvek>({0, qint32(count - 1)});
        edit.markModified();
        history.commit(std::move(edit), QStringLiteral("Úprava prvku"));
    }

    void gesture()
    {
        const int what = random.bounded(100);
        if (what < 52) {
            drag();
        } else if (what < 60) {
            deskEdit();
        } else if (what < 72) {
            shiftAllElements(history, random.bounded(-2, 3), random.bounded(-2, 3), 40, 30, prompts);
        } else if (what < 86) {
            // A key typed into one of the five texts, or a backspace.
            const auto field = DocumentField(int(DocumentField::StationName) + random.bounded(5));
            QString text = std::get<QString>(fieldValue(doc, field));
            if (!text.isEmpty() && random.bounded(3) == 0)
                text.chop(1);
            else
                text += QStringLiteral("aěŽ 1").at(random.bounded(5));
            history.type(field, text);
        } else if (what < 93) {
            history.type(random.bounded(2) ? DocumentField::Rows : DocumentField::Columns, random.bounded(5, 60));
        } else if (what < 97) {
            history.change(DocumentField::BackgroundColour, qint64(random.bounded(0x1000000)),
                           QStringLiteral("Změna barvy pozadí"));
        } else {
            history.change(DocumentField::IssueDate, QStringLiteral("08.12.2026"), QStringLiteral("Vyplnění data vydání"));
        }
        if (random.bounded(10) == 0)
            history.endTyping();
    }
};

}  // namespace

class TestHistory : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private slots:
    // Random gestures, now and then undoing and redoing a few steps: every
    // state the history passes is, byte for byte, the state it had when
    // that step was made; a gesture that records nothing changes nothing.
    // The stations come from a file with records stacked on one cell and
    // coordinates outside the panel (with the tiles among them every shift
    // is refused).
    void randomGesturesUndoAndRedoByteForByte()
    {
        for (const bool tilesOutside : {false, true}) {
            StationData file;
            file.rows = 30;
            file.columns = 40;
            for (const char *name : {"A", "B", "C"})
                file.tiles.append(tile(3, 3, QString::fromLatin1(name)));
            file.tiles.append(tile(tilesOutside ? -7 : 5, tilesOutside ? 2147483647 : 1, QStringLiteral("D")));
            file.lamps.append({3, 3, 1, 2, QStringLiteral("ZAR_CE_ZH")});
            file.lamps.append({-2147483647 - 1, 4, 0, 0, QStringLiteral("ZAR_CE_ZH")});
            file.plates.append({QStringLiteral("STI_Cely_Dole"), 99999, -3});
            file.deskElements.append({3, 3, QStringLiteral("RAD_VYH"), QStringLiteral("5")});
            const QString path = m_dir.filePath(QStringLiteral("file.stvx"));
            QVERIFY(writeStationFile(path, file).ok());

            Editor e(tilesOutside ? 11 : 12, 14);
            QVERIFY(e.life.openFrom(path));
            std::vector<QByteArray> states{snapshot(e.doc)};  // states[i]: i steps made
            const auto expectState = [&] {
                const qsizetype at = e.history.undoSteps();
                QCOMPARE(snapshot(e.doc), states[std::size_t(at)]);
                QCOMPARE(e.doc.status(), at == 0 ? DocumentStatus::Loaded : DocumentStatus::Modified);
            };
            for (int g = 0; g < 400; ++g) {
                QSignalSpy recorded(&e.history, &StationHistory::changed);
                e.gesture();
                if (recorded.isEmpty()) {
                    expectState();
                } else {
                    states.resize(std::size_t(e.history.undoSteps()) + 1);
                    states.back() = snapshot(e.doc);
                    QVERIFY(!e.history.canRedo());
                }
                if (e.random.bounded(8) == 0) {
                    for (int back = e.random.bounded(1, 12); back > 0 && e.history.undo(); --back)
                        expectState();
                    for (int forth = e.random.bounded(12); forth > 0 && e.history.redo(); --forth)
                        expectState();
                }
            }
            QVERIFY(states.size() > 100);
            while (e.history.redo())
                expectState();
            while (e.history.undo())
                expectState();
            QCOMPARE(saved(e.doc, m_dir), states.front());
            while (e.history.redo())
                ;
            QCOMPARE(saved(e.doc, m_dir), states.back());
        }
    }

    // The same on the 1.2-million-element station of the benchmarks.
    void bigStationByteForByte()
    {
        Editor e(2026, 4000);
        e.doc.takeOver(bench::bigStation());
        const QByteArray before = saved(e.doc, m_dir);
        for (int g = 0; g < 300; ++g)
            e.gesture();
        const QByteArray after = saved(e.doc, m_dir);
        QVERIFY(e.history.undoSteps() > 150);
        while (e.history.undo())
            ;
        QCOMPARE(saved(e.doc, m_dir), before);
        while (e.history.redo())
            ;
        QCOMPARE(saved(e.doc, m_dir), after);
    }

    // A removal moves the last record into the gap; its undo puts both back,
    // and the renderer's index follows without being built again.
    void undoingRemovalsFromAStackedCell()
    {
        Editor e(1, 10);
        const std::array<std::pair<int, const char *>, 5> cells{{{5, "A"}, {1, "B"}, {5, "C"}, {2, "D"}, {5, "E"}}};
        for (const auto &[column, name] : cells)
            e.doc.tiles().append(tile(column, 5, QString::fromLatin1(name)));
        ElementIndex index;
        const QRect view(0, 0, 10 * Cell, 10 * Cell);
        positionsDrawn(index, ElementIndex::Layer::Tiles, e.doc.data(), view, Cell);
        const quint64 builds = index.rebuildCount();

        const auto rightClick = [&e](int column) {
            e.pointer.mouseMoved(Editor::pixel(column), Editor::pixel(5));
            e.pointer.mousePressed(Qt::RightButton, Editor::pixel(column), Editor::pixel(5));
            e.pointer.mouseReleased(Qt::RightButton, Editor::pixel(column), Editor::pixel(5));
        };
        rightClick(5);  // A, C and E stand on cell 5: A goes, E takes its place
        rightClick(5);  // then E, and D takes its place
        QCOMPARE(names(e.doc.tiles()), QStringList({"D", "B", "C"}));
        QCOMPARE(e.history.undoName(), QStringLiteral("Odstranění prvku"));
        QVERIFY(e.history.undo());
        QCOMPARE(names(e.doc.tiles()), QStringList({"E", "B", "C", "D"}));
        QVERIFY(e.history.undo());
        QCOMPARE(names(e.doc.tiles()), QStringList({"A", "B", "C", "D", "E"}));
        QCOMPARE(e.doc.tiles().firstAt(5, 5), 0);
        QCOMPARE(positionsDrawn(index, ElementIndex::Layer::Tiles, e.doc.data(), view, Cell),
                 (std::vector<qint32>{0, 1, 2, 3, 4}));
        QCOMPARE(index.rebuildCount(), builds);
        QVERIFY(e.history.redo());
        QCOMPARE(names(e.doc.tiles()), QStringList({"E", "B", "C", "D"}));
    }

    // Saving marks the clean state but keeps the steps; a failed Open keeps
    // them, a successful one and New empty the history; undo and redo are
    // refused while a save writes.
    void historyAcrossSaveOpenAndNew()
    {
        Editor e(3, 10);
        const QString path = m_dir.filePath(QStringLiteral("clean.stvx"));
        e.drag();
        e.drag();
        QVERIFY(e.history.canUndo());
        bool refused = true;
        e.host.onStep = [&e, &refused] { refused = refused && !e.history.undo() && !e.history.redo(); };
        QVERIFY(e.life.saveTo(path));
        QVERIFY(refused);
        QCOMPARE(e.doc.status(), DocumentStatus::Saved);
        QVERIFY(e.history.undo());
        QCOMPARE(e.doc.status(), DocumentStatus::Modified);
        QVERIFY(e.history.redo());
        QCOMPARE(e.doc.status(), DocumentStatus::Saved);

        QVERIFY(!e.life.openFrom(m_dir.filePath(QStringLiteral("missing.stvx"))));
        QVERIFY(e.history.canUndo());
        // A load holds the read station until undo and redo were tried.
        std::atomic<bool> tried{false};
        e.life.addLoadFollower([&tried](const StationData &) -> std::function<void()> {
            QDeadlineTimer limit(std::chrono::seconds(20));
            while (!tried && !limit.hasExpired())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return {};
        });
        QTimer::singleShot(0, [&] {
            refused = !e.history.undo() && !e.history.redo();
            tried = true;
        });
        QVERIFY(e.life.openFrom(path));
        QVERIFY(tried);
        QVERIFY(refused);
        QVERIFY(!e.history.canUndo() && !e.history.canRedo());
        e.drag();
        QVERIFY(e.history.undo());
        QCOMPARE(e.doc.status(), DocumentStatus::Loaded);

        e.history.redo();
        e.prompts.answers = {true};
        QVERIFY(e.life.newStation());
        QVERIFY(!e.history.canUndo());
        e.history.type(DocumentField::Columns, 77);
        QVERIFY(e.history.undo());
        QCOMPARE(e.doc.columns(), 100);
        QCOMPARE(e.doc.status(), DocumentStatus::New);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
