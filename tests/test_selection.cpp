// The commands on the selected cells: random selections of a station with
// stacked records deleted, cut, copied, pasted, moved and mirrored, each
// compared with a plain model of the four lists and undone and redone
// byte for byte, I/O addresses with them; the clipboard's text and what a
// paste refuses.
#include "catalogue/KindMirror.h"
#include "document/IoAddress.h"
#include "document/StationHistory.h"
#include "document/Windows1250.h"
#include "editing/PanelSelection.h"
#include "editing/SelectionCommands.h"
#include "support/ScriptedPrompts.h"
#include "support/StationBytes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>

using namespace kalmor;

namespace {

constexpr qint32 Columns = 12;
constexpr qint32 Rows = 10;

// The four lists as plain vectors, changed the obvious way.
struct Model {
    std::vector<TPolePanelu> tiles;
    std::vector<TPoleZarovka> lamps;
    std::vector<TPoleStitek> plates;
    std::vector<TPolePrvek> deskElements;
    friend bool operator==(const Model &, const Model &) = default;

    static Model of(const StationDocument &d)
    {
        return {{d.tiles().begin(), d.tiles().end()}, {d.lamps().begin(), d.lamps().end()},
                {d.plates().begin(), d.plates().end()}, {d.deskElements().begin(), d.deskElements().end()}};
    }
    template <class Self, class F>
    static void each(Self &self, F f)
    {
        f(self.tiles);
        f(self.lamps);
        f(self.plates);
        f(self.deskElements);
    }
    bool isEmpty() const { return tiles.empty() && lamps.empty() && plates.empty() && deskElements.empty(); }
    // What a copy carries: no wiring.
    Model unwired() const
    {
        Model m = *this;
        for (TPoleZarovka &z : m.lamps)
            z.IO = {};
        for (TPolePrvek &e : m.deskElements)
            e.IO = {};
        return m;
    }

    // The records of the area (all of them without one), moved by (dx, dy).
    Model taken(std::optional<CellRect> area, qint32 dx, qint32 dy) const
    {
        Model m = *this;
        each(m, [&](auto &list) {
            std::erase_if(list, [&](const auto &r) { return area && !area->contains(r.X, r.Y); });
            for (auto &r : list) {
                r.X += dx;
                r.Y += dy;
            }
        });
        return m;
    }
    void erase(const CellRect &area)
    {
        each(*this, [&](auto &list) { std::erase_if(list, [&](const auto &r) { return area.contains(r.X, r.Y); }); });
    }
    // The pieces without every address that a record the paste does not
    // overwrite, or a record pasted before, already has. Here every role
    // has a board of its own, so a role's pin is one point.
    Model withoutUsedAddresses(const Model &pieces) const
    {
        using Pin = std::tuple<QString, quint16, quint16>;
        std::set<Pin> used;
        // A pasted record overwrites the first record of its list at its cell.
        const auto take = [&used](const auto &list, const auto &paste) {
            std::vector<bool> overwritten(list.size(), false);
            for (const auto &p : paste) {
                const auto at = std::find_if(list.begin(), list.end(), [&p](const auto &o) { return o.X == p.X && o.Y == p.Y; });
                if (at != list.end())
                    overwritten[std::size_t(at - list.begin())] = true;
            }
            for (std::size_t i = 0; i < list.size(); ++i) {
                for (const IoAssignment &a : list[i].IO.entries()) {
                    if (!overwritten[i])
                        used.insert({a.role.toString(), a.address.board, a.address.pin});
                }
            }
        };
        take(lamps, pieces.lamps);
        take(deskElements, pieces.deskElements);
        Model out = pieces;
        const auto drop = [&used](auto &list) {
            for (auto &r : list) {
                for (const IoAssignment &a : std::vector(r.IO.entries().begin(), r.IO.entries().end())) {
                    if (!used.insert({a.role.toString(), a.address.board, a.address.pin}).second)
                        r.IO.set(a.role, std::nullopt);
                }
            }
        };
        drop(out.lamps);
        drop(out.deskElements);
        return out;
    }
    // Each record over the first of its list at its cell, else appended;
    // false, and nothing changes, when one would leave the panel.
    bool place(const Model &pieces)
    {
        bool fits = true;
        each(pieces, [&](const auto &list) {
            for (const auto &r : list)
                fits = fits && r.X >= 0 && r.X < Columns && r.Y >= 0 && r.Y < Rows;
        });
        const auto put = [](auto &list, const auto &added) {
            for (const auto &r : added) {
                const auto at = std::find_if(list.begin(), list.end(), [&](const auto &o) { return o.X == r.X && o.Y == r.Y; });
                if (at == list.end())
                    list.push_back(r);
                else
                    *at = r;
            }
        };
        if (fits) {
            put(tiles, pieces.tiles);
            put(lamps, pieces.lamps);
            put(plates, pieces.plates);
            put(deskElements, pieces.deskElements);
        }
        return fits;
    }
    bool move(const CellRect &area, qint32 dx, qint32 dy)
    {
        Model rest = *this;
        rest.erase(area);
        const bool fits = rest.place(taken(area, dx, dy));
        if (fits)
            *this = rest;
        return fits;
    }
    void mirror(const CellRect &area, MirrorAxis axis)
    {
        const bool lr = axis == MirrorAxis::LeftRight;
        using P = TPolePanelu;
        using Pair = std::pair<bool P::*, bool P::*>;
        const std::array<Pair, 3> swapped = lr ? std::array<Pair, 3>{{{&P::Cont_LH, &P::Cont_PH},
                                                                      {&P::Cont_LS, &P::Cont_PS},
                                                                      {&P::Cont_LD, &P::Cont_PD}}}
                                               : std::array<Pair, 3>{{{&P::Cont_LH, &P::Cont_LD},
                                                                      {&P::Cont_SH, &P::Cont_SD},
                                                                      {&P::Cont_PH, &P::Cont_PD}}};
        for (TPolePanelu &t : tiles) {
            if (!area.contains(t.X, t.Y))
                continue;
            for (const auto &[a, b] : swapped)
                std::swap(t.*a, t.*b);
            t.NAME = mirroredKind(t.NAME, axis).value_or(t.NAME);
        }
        for (TPolePrvek &e : deskElements) {
            if (area.contains(e.X, e.Y))
                e.NAME = mirroredKind(e.NAME, axis).value_or(e.NAME);
        }
        for (TPoleZarovka &z : lamps) {
            if (!area.contains(z.X, z.Y))
                continue;
            qint32 &offset = lr ? z.ODSAZENI_X : z.ODSAZENI_Y;
            offset = (lr ? 31 : 32) - offset;  // a lamp of 16 x 15 in a cell of 47
        }
        each(*this, [&](auto &list) {
            for (auto &r : list) {
                if (!area.contains(r.X, r.Y))
                    continue;
                qint32 &v = lr ? r.X : r.Y;
                v = (lr ? area.left + area.right : area.top + area.bottom) - v;
            }
        });
    }
    // What a paste at `at` covers: cell (0, 0) and every record's cell.
    CellRect extentAt(QPoint at) const
    {
        CellRect r{0, 0, 0, 0};
        each(*this, [&r](const auto &list) {
            for (const auto &e : list)
                r = {std::min(r.left, e.X), std::min(r.top, e.Y), std::max(r.right, e.X), std::max(r.bottom, e.Y)};
        });
        return {r.left + at.x(), r.top + at.y(), r.right + at.x(), r.bottom + at.y()};
    }
};

// The lists' own index answers the first and the last record at a cell as
// a walk through the list does.
bool indexAgrees(const StationDocument &d)
{
    bool agrees = true;
    Model::each(d.data(), [&agrees](const auto &list) {
        for (const auto &r : list) {
            qsizetype first = -1, last = -1;
            for (qsizetype j = 0; j < list.count(); ++j) {
                if (list.at(j).X == r.X && list.at(j).Y == r.Y) {
                    first = first < 0 ? j : first;
                    last = j;
                }
            }
            agrees = agrees && list.firstAt(r.X, r.Y) == first && list.lastAt(r.X, r.Y) == last;
        }
    });
    return agrees;
}

// A station crowded into a corner of the panel, so that many cells hold
// stacked records, with some records just outside the panel.
StationData randomStation(QRandomGenerator &random)
{
    QStringList kinds{QStringLiteral("kol_slsps")};
    for (const KindInfo &k : allKinds()) {
        if (elementClassOf(QString::fromLatin1(k.name)) == ElementClass::TrackTile)
            kinds << QString::fromLatin1(k.name);
    }
    const auto cell = [&random](qint32 size) { return random.bounded(-1, size / 2); };
    StationData d;
    for (int i = 0; i < 60; ++i) {
        TPolePanelu t;
        t.X = cell(Columns);
        t.Y = cell(Rows);
        t.NAME = kinds[random.bounded(int(kinds.size()))];
        for (bool TPolePanelu::*flag : TileFlags)
            t.*flag = random.bounded(2);
        d.tiles.append(t);
    }
    // Half the lamps wired, a few pins shared from the start, drawn apart
    // so that the rest of the station stays as it was.
    QRandomGenerator wiring(7);
    for (int i = 0; i < 25; ++i) {
        TPoleZarovka z{cell(Columns), cell(Rows), random.bounded(-5, 50), random.bounded(-5, 50), QStringLiteral("ZAR_CE_ZH")};
        if (wiring.bounded(2))
            z.IO.set(*IoRoleCode::from("CE"), IoAddress{1, quint16(wiring.bounded(1, 20))});
        d.lamps.append(z);
    }
    // Plates with and without texts: every command carries the text.
    for (int i = 0; i < 20; ++i)
        d.plates.append({QStringLiteral("STI_Cely_Dole"), cell(Columns), cell(Rows),
                         i % 3 ? QStringLiteral("Dolní %1").arg(i) : QString()});
    // Desk elements of both hands, some designated, all wired: half on the
    // lamps' board and pins, so that a paste meets pins that lamps use as
    // well as pins of desk elements.
    const QStringList desks{QStringLiteral("NAV_HL_L"), QStringLiteral("NAV_SE_P"), QStringLiteral("TLA_VC"),
                            QStringLiteral("PRU_SIP_L")};
    for (int i = 0; i < 20; ++i) {
        TPolePrvek e{cell(Columns), cell(Rows), desks[i % desks.size()], i % 2 ? QStringLiteral("S%1").arg(i) : QString()};
        readIoValue(QStringLiteral("CE:%1.%2,ZE:3.%3").arg(i % 2 ? 2 : 1).arg(i % 19 + 1).arg(i + 1).toLatin1(), e.IO);
        d.deskElements.append(e);
    }
    return d;
}

// A station with the selection commands on it; pastes go to the cursor.
// `reading` has copied nothing itself, so it reads whatever the clipboard
// holds.
struct Editor {
    StationDocument doc;
    StationHistory history{doc};
    ScriptedPrompts prompts;
    PanelSelection selection;
    QPoint cursor;
    SelectionCommands commands{history, prompts, selection, [this] { return cursor; },
                               [] { return QSize(Columns, Rows); }, QSize(31, 32)};
    SelectionCommands reading{history, prompts, selection, [this] { return cursor; },
                              [] { return QSize(Columns, Rows); }, QSize(31, 32)};
};

const QString NothingToPaste = QStringLiteral("Schránka neobsahuje žádné prvky panelu.");
const QString PasteOutside = QStringLiteral("Vložené prvky by se dostaly za okraj panelu");
const QString MoveOutside = QStringLiteral("Nelze posunout vybrané prvky, některé by se dostaly za okraj panelu");

}  // namespace

class TestSelection : public QObject {
    Q_OBJECT
private slots:
    void randomCommandsAgainstAModel()
    {
        QRandomGenerator random(1010);
        Editor e;
        e.doc.takeOver(randomStation(random));
        QVERIFY(std::count_if(e.doc.deskElements().begin(), e.doc.deskElements().end(),
                              [](const TPolePrvek &r) { return !r.IO.isEmpty(); }) == 20);
        QGuiApplication::clipboard()->clear();
        Model model = Model::of(e.doc);
        Model clip;
        const QByteArray start = snapshot(e.doc);
        int changes = 0, refusals = 0, pastedWithAddress = 0, pastedWithout = 0;
        int deskAddressesKept = 0, deskAddressesDropped = 0;
        const auto deskAddresses = [](const Model &m) {
            qsizetype n = 0;
            for (const TPolePrvek &r : m.deskElements)
                n += qsizetype(r.IO.entries().size());
            return int(n);
        };
        for (int step = 0; step < 700; ++step) {
            const auto cell = [&random](qint32 size) { return random.bounded(-1, size + 1); };
            const QPoint corner(cell(Columns), cell(Rows));
            e.selection.selectCells(corner, corner + QPoint(random.bounded(-4, 5), random.bounded(-4, 5)));
            const CellRect area = e.selection.area();
            const QByteArray before = snapshot(e.doc);
            const qsizetype steps = e.history.undoSteps();
            const qsizetype messages = e.prompts.messages.size();
            QString refusal;
            CellRect selected = area;
            // Pastes outnumber deletions, so the station does not run dry.
            enum { Delete, Cut, Copy, Paste, Move, Mirror };
            static const std::array commands{Delete, Cut,  Copy, Copy,   Copy,   Paste, Paste, Paste,
                                             Paste,  Move, Move, Move, Mirror, Mirror, Mirror};
            switch (commands[random.bounded(int(commands.size()))]) {
            case Delete:
                e.commands.deleteSelected();
                model.erase(area);
                break;
            case Cut:
                e.commands.cutSelected();
                clip = model.taken(area, -area.left, -area.top);
                model.erase(area);
                break;
            case Copy:
                e.commands.copySelected();
                clip = model.taken(area, -area.left, -area.top).unwired();
                break;
            case Paste: {
                e.cursor = QPoint(cell(Columns), cell(Rows));
                (random.bounded(2) ? e.commands : e.reading).paste();
                const Model pieces = model.withoutUsedAddresses(clip.taken(std::nullopt, e.cursor.x(), e.cursor.y()));
                if (clip.isEmpty()) {
                    refusal = NothingToPaste;
                } else if (!model.place(pieces)) {
                    refusal = PasteOutside;
                } else {
                    selected = clip.extentAt(e.cursor);
                    deskAddressesKept += deskAddresses(pieces);
                    deskAddressesDropped += deskAddresses(clip) - deskAddresses(pieces);
                }
                break;
            }
            case Move: {
                static const std::array arrows{QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)};
                const QPoint d = arrows[random.bounded(4)];
                const bool moved = model.move(area, d.x(), d.y());
                QCOMPARE(e.commands.moveSelected(d.x(), d.y()), moved);
                if (moved)
                    selected = CellRect{area.left + d.x(), area.top + d.y(), area.right + d.x(), area.bottom + d.y()};
                else
                    refusal = MoveOutside;
                break;
            }
            case Mirror: {
                const MirrorAxis axis = random.bounded(2) ? MirrorAxis::LeftRight : MirrorAxis::TopBottom;
                e.commands.mirrorSelected(axis);
                model.mirror(area, axis);
                if (random.bounded(4) == 0) {  // twice: the station as it was
                    e.commands.mirrorSelected(axis);
                    QCOMPARE(snapshot(e.doc), before);
                    model.mirror(area, axis);
                }
                break;
            }
            }
            QVERIFY2(Model::of(e.doc) == model, qPrintable(QStringLiteral("step %1").arg(step)));
            if (QGuiApplication::clipboard()->text().contains(QStringLiteral(";IO=")))
                ++pastedWithAddress;
            else if (!clip.lamps.empty() || !clip.deskElements.empty())
                ++pastedWithout;
            QCOMPARE(e.selection.area(), selected);
            QVERIFY(indexAgrees(e.doc));
            QCOMPARE(e.prompts.messages.size(), messages + !refusal.isEmpty());
            if (!refusal.isEmpty()) {
                ++refusals;
                QCOMPARE(e.prompts.messages.last(), refusal);
                QCOMPARE(snapshot(e.doc), before);
            }
            // Each command one step (a mirror made twice two), undone and
            // made again byte for byte.
            const qsizetype made = e.history.undoSteps() - steps;
            if (made == 0)
                continue;
            ++changes;
            QVERIFY(made <= 2 && e.doc.status() == DocumentStatus::Modified);
            const QByteArray after = snapshot(e.doc);
            for (qsizetype k = 0; k < made; ++k)
                QVERIFY(e.history.undo());
            QCOMPARE(snapshot(e.doc), before);
            QVERIFY(indexAgrees(e.doc));
            for (qsizetype k = 0; k < made; ++k)
                QVERIFY(e.history.redo());
            QCOMPARE(snapshot(e.doc), after);
        }
        QVERIFY(changes > 150 && refusals > 60);
        // Addresses came through cuts and moves and were dropped by pastes,
        // desk elements' too, over pins that lamps or desk elements used.
        QVERIFY(pastedWithAddress > 10 && pastedWithout > 10);
        QVERIFY(deskAddressesKept > 3 && deskAddressesDropped > 1);
        while (e.history.undo())
            ;
        QCOMPARE(snapshot(e.doc), start);
        QCOMPARE(e.doc.status(), DocumentStatus::New);
    }

    // The clipboard holds the station file's element lines counted from the
    // selection's corner; pasted into an empty station they give the
    // selection moved. What no paste takes changes nothing.
    void clipboardText()
    {
        Editor from;
        from.doc.tiles().append(TPolePanelu{2, 3, {}, true, {}, {}, {}, {}, true, {}, QStringLiteral("KOL_sLSPS")});
        from.doc.tiles().append(TPolePanelu{9, 9, {}, {}, {}, {}, {}, {}, {}, {}, QStringLiteral("KOL_sSDSH")});
        from.doc.lamps().append({3, 4, 15, 32, QStringLiteral("ZAR_CE_ZH")});
        from.doc.plates().append({QStringLiteral("STI_Cely_Dole"), 2, 4, QStringLiteral("Kolej 1")});
        from.doc.tiles().append(TPolePanelu{3, 3, {}, {}, {}, {}, {}, {}, {}, {}, QStringLiteral("KOZ_sLS")});
        TPolePrvek signal{4, 3, QStringLiteral("NAV_HL_P"), QStringLiteral("S1")};
        QVERIFY(readIoValue("CE:2.17,ZE:2.18", signal.IO).isEmpty());
        from.doc.deskElements().append(signal);
        from.selection.selectCells({4, 5}, {2, 3});
        from.commands.copySelected();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("PRUSVITKA;X=0;Y=0;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;Cont_SD=0;"
                                "Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n"
                                "PRUSVITKA;X=1;Y=0;NAME=KOZ_sLS;Cont_LH=0;Cont_LS=0;Cont_LD=0;Cont_SH=0;Cont_SD=0;"
                                "Cont_PH=0;Cont_PS=0;Cont_PD=0\r\n"
                                "ZAROVKA;X=1;Y=1;NAME=ZAR_CE_ZH;ODSAZENI_X=15;ODSAZENI_Y=32\r\n"
                                "STITEK;X=0;Y=1;NAME=STI_Cely_Dole;TEXT=Kolej 1\r\n"
                                "PRVEK;X=2;Y=0;NAME=NAV_HL_P;TEXT=S1\r\n"));
        QVERIFY(from.doc.status() == DocumentStatus::New && !from.history.canUndo());

        Editor into;
        into.cursor = QPoint(5, 6);
        into.commands.paste();
        const Model moved = Model::of(from.doc).taken(from.selection.area(), 3, 3);
        QVERIFY(moved.tiles.size() == 2 && Model::of(into.doc) == moved.unwired());
        QCOMPARE(into.selection.area(), (CellRect{5, 6, 7, 7}));
        QCOMPARE(into.history.undoName(), QStringLiteral("Vložení ze schránky"));
        // A cut takes the wiring along, in its text as in its paste.
        Editor other;
        from.commands.cutSelected();
        QVERIFY(QGuiApplication::clipboard()->text().endsWith(
            QStringLiteral("PRVEK;X=2;Y=0;NAME=NAV_HL_P;TEXT=S1;IO=CE:2.17,ZE:2.18\r\n")));
        other.cursor = QPoint(5, 6);
        other.reading.paste();
        QCOMPARE(Model::of(other.doc), moved);
        // Pasted once more, the pins are taken: the second copy comes unwired.
        other.cursor = QPoint(0, 0);
        other.reading.paste();
        QCOMPARE(other.doc.deskElements().count(), 2);
        QVERIFY(other.doc.deskElements().at(0).IO == signal.IO && other.doc.deskElements().at(1).IO.isEmpty());

        // Refused: past the panel's edge, text without elements, a bad number.
        const QByteArray pasted = snapshot(into.doc);
        into.cursor = QPoint(Columns - 1, 2);
        into.commands.paste();
        QGuiApplication::clipboard()->setText(QStringLiteral("Dobrý den\n;;;\nSET_Vyska;99\r\n"));
        into.commands.paste();
        QGuiApplication::clipboard()->setText(
            QStringLiteral("STITEK;X=0;Y=0;NAME=STI_Cely_Dole\nPRUSVITKA;X=1;Y=zz;NAME=KOL_sLSPS\n"));
        into.commands.paste();
        QCOMPARE(into.prompts.messages, (QStringList{PasteOutside, NothingToPaste,
                                                     QStringLiteral("'zz' is not a valid integer value")}));
        QCOMPARE(snapshot(into.doc), pasted);
        QCOMPARE(into.history.undoSteps(), 1);

        // Typed by hand: LF line ends, a setting that goes unnoticed.
        QGuiApplication::clipboard()->setText(QStringLiteral("SET_Sirka;20\nSTITEK;X=0;Y=0;NAME=STI_Cely_Nahore"));
        into.cursor = QPoint(Columns - 1, Rows - 1);
        into.commands.paste();
        QCOMPARE(into.doc.plates().at(1), (TPoleStitek{QStringLiteral("STI_Cely_Nahore"), Columns - 1, Rows - 1}));
        QCOMPARE(into.doc.columns(), 150);
    }

    // A long clipboard text is encoded in pieces on several threads, ASCII
    // runs many characters at a time: byte for byte what the code page
    // table gives, Czech letters, characters it lacks and halves of
    // surrogate pairs on every kind of boundary included.
    void longClipboardTextEncoded()
    {
        QRandomGenerator random(27);
        const std::array<char16_t, 6> rare{u'\u010D', u'\u0159', u'\u20AC', u'\u4E2D', 0xD83D, 0xDE00};
        QString text;
        while (text.size() < 2'500'000) {
            const int run = random.bounded(200);
            for (int k = 0; k < run; ++k)
                text.append(QChar(char16_t(random.bounded(0x20, 0x7F))));
            text.append(QChar(rare[std::size_t(random.bounded(int(rare.size())))]));
        }
        // Against the plain encoding, one character at a time.
        QByteArray plain(text.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            putWindows1250(QStringView(text).sliced(i, 1), plain.data() + i);
        QVERIFY(encodeWindows1250(text) == plain);
        QVERIFY(encodeWindows1250(QStringView(text).first(31)) == plain.first(31));
    }
};

QTEST_MAIN(TestSelection)
#include "test_selection.moc"
