// The station file writer. Element lines are formatted in chunks on every
// core and written in list order by the thread that formatted them.
#include "document/StationFile.h"

#include "document/IoAddress.h"
#include "document/OrderedWork.h"
#include "document/SafeFile.h"
#include "document/TurnTaking.h"
#include "document/ValueConversions.h"
#include "document/Windows1250.h"

#include <QHash>

#include <array>
#include <charconv>
#include <cstring>
#include <fcntl.h>

namespace kalmor {

namespace {

// Elements formatted in one piece of work: about two megabytes of lines,
// so that threads seldom wait for their turn to write.
constexpr qsizetype ChunkElements = 16384;

// Room an element line needs besides its kind name: a tile line with the
// longest numbers is shorter.
constexpr qsizetype LongestLine = 160;

// Writes a line into memory that has room for it: the fixed texts of the
// element lines are copied, not appended piece by piece.
class LinePen {
public:
    explicit LinePen(char *at) : m_p(at) {}

    template <std::size_t N>
    LinePen &text(const char (&s)[N])
    {
        std::memcpy(m_p, s, N - 1);
        m_p += N - 1;
        return *this;
    }
    LinePen &bytes(QByteArrayView b)
    {
        if (!b.isEmpty())
            std::memcpy(m_p, b.data(), std::size_t(b.size()));
        m_p += b.size();
        return *this;
    }
    // Coordinates and offsets are mostly below 10,000: those are written
    // two digits at a time from a table, the rest by std::to_chars.
    LinePen &integer(qint32 v)
    {
        if (v < 0 || v >= 10000) {
            m_p = std::to_chars(m_p, m_p + 12, v).ptr;
            return *this;
        }
        const int high = v / 100;
        if (high >= 10)
            pair(high);
        else if (high > 0)
            *m_p++ = char('0' + high);
        if (high > 0 || v >= 10)
            pair(v % 100);
        else
            *m_p++ = char('0' + v);
        return *this;
    }
    LinePen &flag(bool b) { return b ? text("-1") : text("0"); }
    // A keyed text field, only when there is a text.
    template <std::size_t N>
    LinePen &keyedText(const char (&key)[N], const QString &value)
    {
        if (!value.isEmpty())
            m_p = putWindows1250(value, text(key).m_p);
        return *this;
    }
    LinePen &io(const IoAddresses &addresses)
    {
        if (!addresses.isEmpty())
            m_p = putIoValue(text(";IO=").m_p, addresses);
        return *this;
    }
    char *end() const { return m_p; }

private:
    void pair(int v)
    {
        static constexpr std::array<char, 200> Pairs = [] {
            std::array<char, 200> a{};
            for (int i = 0; i < 100; ++i) {
                a[std::size_t(2 * i)] = char('0' + i / 10);
                a[std::size_t(2 * i + 1)] = char('0' + i % 10);
            }
            return a;
        }();
        std::memcpy(m_p, &Pairs[std::size_t(2 * v)], 2);
        m_p += 2;
    }

    char *m_p;
};

// The eight continuation fields of a tile line and the line's end, for
// each of their 256 combinations: nearly every line is a tile's, and a
// single copy of its tail costs less than sixteen small ones.
class ContinuationTails {
public:
    static constexpr std::size_t Room = 96;  // longer than any tail

    ContinuationTails()
    {
        for (unsigned f = 0; f < 256; ++f) {
            const auto on = [f](unsigned bit) { return (f >> bit & 1) != 0; };
            char *begin = m_tails[f].data();
            const char *end = LinePen(begin)
                .text(";Cont_LH=").flag(on(0)).text(";Cont_LS=").flag(on(1))
                .text(";Cont_LD=").flag(on(2)).text(";Cont_SH=").flag(on(3))
                .text(";Cont_SD=").flag(on(4)).text(";Cont_PH=").flag(on(5))
                .text(";Cont_PS=").flag(on(6)).text(";Cont_PD=").flag(on(7)).text("\r\n")
                .end();
            m_sizes[f] = quint8(end - begin);
        }
    }

    // Copies the tail for the tile's fields whole and returns its end.
    char *put(char *at, const TPolePanelu &t) const
    {
        const unsigned f = unsigned(t.Cont_LH) | unsigned(t.Cont_LS) << 1 | unsigned(t.Cont_LD) << 2
            | unsigned(t.Cont_SH) << 3 | unsigned(t.Cont_SD) << 4 | unsigned(t.Cont_PH) << 5
            | unsigned(t.Cont_PS) << 6 | unsigned(t.Cont_PD) << 7;
        std::memcpy(at, m_tails[f].data(), Room);
        return at + m_sizes[f];
    }

private:
    std::array<std::array<char, Room>, 256> m_tails{};
    std::array<quint8, 256> m_sizes{};
};

// The whole tail is copied, past the line's end: it must fit the room a
// line has besides its name.
static_assert(sizeof("PRUSVITKA;X=;Y=;NAME=") - 1 + 2 * 11 + ContinuationTails::Room <= LongestLine);

char *putLine(char *at, const TPolePanelu &t, QByteArrayView name)
{
    static const ContinuationTails tails;
    const LinePen head =
        LinePen(at).text("PRUSVITKA;X=").integer(t.X).text(";Y=").integer(t.Y).text(";NAME=").bytes(name);
    return tails.put(head.end(), t);
}

char *putLine(char *at, const TPoleZarovka &z, QByteArrayView name)
{
    return LinePen(at)
        .text("ZAROVKA;X=").integer(z.X).text(";Y=").integer(z.Y).text(";NAME=").bytes(name)
        .text(";ODSAZENI_X=").integer(z.ODSAZENI_X).text(";ODSAZENI_Y=").integer(z.ODSAZENI_Y).io(z.IO)
        .text("\r\n").end();
}

// A plate's text comes after the name and only when there is one, so a
// station without texts is written byte for byte as before texts existed.
char *putLine(char *at, const TPoleStitek &s, QByteArrayView name)
{
    return LinePen(at)
        .text("STITEK;X=").integer(s.X).text(";Y=").integer(s.Y).text(";NAME=").bytes(name)
        .keyedText(";TEXT=", s.TEXT).text("\r\n").end();
}

// A desk element's keyed fields follow its name, each only when it holds
// something.
char *putLine(char *at, const TPolePrvek &p, QByteArrayView name)
{
    return LinePen(at)
        .text("PRVEK;X=").integer(p.X).text(";Y=").integer(p.Y).text(";NAME=").bytes(name)
        .keyedText(";TEXT=", p.TEXT).io(p.IO).text("\r\n").end();
}

// Bytes of a line beyond LongestLine and its kind name: a text, one byte
// a character, and the addresses.
template <class Element>
qsizetype extraRoom(const Element &)
{
    return 0;
}
qsizetype extraRoom(const TPoleStitek &s) { return s.TEXT.size(); }
qsizetype extraRoom(const TPoleZarovka &z) { return z.IO.isEmpty() ? 0 : 4 + ioValueRoom(z.IO); }
qsizetype extraRoom(const TPolePrvek &p) { return p.TEXT.size() + (p.IO.isEmpty() ? 0 : 4 + ioValueRoom(p.IO)); }

template <class Element>
void appendLine(QByteArray &out, const Element &e, QByteArrayView name)
{
    const qsizetype at = out.size();
    out.resize(at + LongestLine + name.size() + extraRoom(e));
    out.truncate(putLine(out.data() + at, e, name) - out.constData());
}

// Encodes kind names once per distinct string. Keyed by the string's
// storage, which records read from a file or placed with one kind share,
// so a lookup needs neither a hash of the text nor a copy of the string
// (formatting threads must not touch the strings' reference counts).
class NameBytes {
public:
    QByteArrayView operator()(const QString &name)
    {
        const QChar *key = name.constData();
        // The storage addresses differ in few bits: multiplied, those
        // reach the top bits, which pick the slot.
        const quint64 mixed = quint64(reinterpret_cast<quintptr>(key)) * 0x9E3779B97F4A7C15ull;
        Slot &slot = m_slots[std::size_t(mixed >> 56)];
        if (slot.key != key || slot.size != name.size())
            slot = Slot{key, name.size(), encodeWindows1250(name)};
        return slot.bytes;
    }

private:
    struct Slot {
        const QChar *key = nullptr;
        qsizetype size = -1;
        QByteArray bytes;
    };
    std::array<Slot, 256> m_slots;
};

// A run of element lines: elements first .. first + count - 1 of the
// station, counting tiles, then lamps, then plates, then desk elements. A
// thread's buffer goes from chunk to chunk, so its pages are touched once
// per save, not once per chunk.
struct Chunk {
    qsizetype first = 0;
    qsizetype count = 0;
    QByteArray buffer;   // room for the lines; grows when names are long
    qsizetype used = 0;  // bytes of lines at its front
};

constexpr qsizetype TextsAhead = 16;

void formatChunk(const StationData &d, Chunk &chunk)
{
    NameBytes names;
    char *p = chunk.buffer.data();
    const auto put = [&](const auto &element, QByteArrayView name) {
        const qsizetype used = p - chunk.buffer.constData();
        const qsizetype room = LongestLine + name.size() + extraRoom(element);
        if (chunk.buffer.size() - used < room) {
            chunk.buffer.resize(std::max(2 * chunk.buffer.size(), used + room));
            p = chunk.buffer.data() + used;
        }
        p = putLine(p, element, name);
    };
    // Each text lies in memory of its own: asked for a few records ahead,
    // it is there when its line is written.
    const auto putWithText = [&](const auto &list, qsizetype at) {
        if (at + TextsAhead < list.count())
            __builtin_prefetch(list.at(at + TextsAhead).TEXT.constData());
        const auto &e = list.at(at);
        put(e, names(e.NAME));
    };
    const qsizetype tiles = d.tiles.count();
    const qsizetype lamps = d.lamps.count();
    const qsizetype plates = d.plates.count();
    for (qsizetype i = chunk.first; i < chunk.first + chunk.count; ++i) {
        if (i < tiles) {
            const TPolePanelu &t = d.tiles.at(i);
            put(t, names(t.NAME));
        } else if (i < tiles + lamps) {
            const TPoleZarovka &z = d.lamps.at(i - tiles);
            put(z, names(z.NAME));
        } else if (i < tiles + lamps + plates) {
            putWithText(d.plates, i - tiles - lamps);
        } else {
            putWithText(d.deskElements, i - tiles - lamps - plates);
        }
    }
    chunk.used = p - chunk.buffer.constData();
}

// Writes through a safe file and starts the disk early.
class BlockWriter {
public:
    explicit BlockWriter(const QString &path) : m_file(path) {}

    bool open() { return m_file.open(); }

    bool write(QByteArrayView bytes)
    {
        if (!m_file.write(bytes))
            return false;
        startWriteback(bytes.size());
        return true;
    }

    bool commit() { return m_file.commit(); }
    QString error() const { return m_file.error(); }

private:
    // The disk starts on what was written while the next lines are being
    // formatted, so the sync of the commit waits only for the last of
    // them. Only a hint: a fault shows in the commit's sync.
    void startWriteback(qint64 bytes)
    {
        constexpr qint64 Batch = qint64(8) << 20;
        m_written += bytes;
        if (m_written - m_sent < Batch)
            return;
        ::sync_file_range(m_file.handle(), m_sent, m_written - m_sent, SYNC_FILE_RANGE_WRITE);
        m_sent = m_written;
    }

    SafeFile m_file;
    qint64 m_written = 0;  // bytes in the file
    qint64 m_sent = 0;     // bytes handed to the disk
};

template <class F>
void call(const F &f)
{
    if (f)
        f();
}

}  // namespace

QByteArray settingLines(const StationData &d)
{
    QByteArray b;
    const auto text = [&b](const char *key, const QString &value) {
        b.append(key).append(encodeWindows1250(value)).append("\r\n");
    };
    b.append("SET_Vyska;").append(integerToText(d.rows));
    b.append("\r\nSET_Sirka;").append(integerToText(d.columns));
    b.append("\r\n");
    text("SET_Stanice;", d.stationName);
    text("SET_Autor;", d.author);
    text("SET_Verze;", d.version);
    text("SET_Popis;", d.description);
    text("SET_Vydano;", d.issueDate);
    b.append("SET_BarvaPanelu;").append(colourToText(d.backgroundColour)).append("\r\n");
    return b;
}

QByteArray areaLine(const TOblast &a)
{
    return QByteArray("OBLAST;X=") + integerToText(a.X) + ";Y=" + integerToText(a.Y) + ";SIRKA="
        + integerToText(a.SIRKA) + ";VYSKA=" + integerToText(a.VYSKA) + ";NAME=" + encodeWindows1250(a.NAME)
        + "\r\n";
}

QByteArray areaLines(const StationData &d)
{
    QByteArray b;
    for (const TOblast &a : d.areas)
        b += areaLine(a);
    return b;
}

const QByteArray &ElementLines::nameBytes(const QString &name)
{
    auto it = m_names.constFind(name);
    if (it == m_names.cend())
        it = m_names.insert(name, encodeWindows1250(name));
    return *it;
}

void ElementLines::append(QByteArray &out, const TPolePanelu &t)
{
    appendLine(out, t, nameBytes(t.NAME));
}

void ElementLines::append(QByteArray &out, const TPoleZarovka &z)
{
    appendLine(out, z, nameBytes(z.NAME));
}

void ElementLines::append(QByteArray &out, const TPoleStitek &s)
{
    appendLine(out, s, nameBytes(s.NAME));
}

void ElementLines::append(QByteArray &out, const TPolePrvek &p)
{
    appendLine(out, p, nameBytes(p.NAME));
}

QByteArray tileLine(const TPolePanelu &t)
{
    QByteArray b;
    appendLine(b, t, encodeWindows1250(t.NAME));
    return b;
}

QByteArray lampLine(const TPoleZarovka &z)
{
    QByteArray b;
    appendLine(b, z, encodeWindows1250(z.NAME));
    return b;
}

QByteArray plateLine(const TPoleStitek &s)
{
    QByteArray b;
    appendLine(b, s, encodeWindows1250(s.NAME));
    return b;
}

QByteArray deskElementLine(const TPolePrvek &p)
{
    QByteArray b;
    appendLine(b, p, encodeWindows1250(p.NAME));
    return b;
}

FileResult writeStationFile(const QString &path, const StationData &data, const WriteObserver &observer)
{
    BlockWriter out(path);
    if (!out.open() || !out.write(settingLines(data)))
        return {out.error()};
    if (!data.hasAnyElement()) {
        call(observer.emptyPanel);
        if (!data.areas.isEmpty() && !out.write(areaLines(data)))
            return {out.error()};
        return {out.commit() ? QString() : out.error()};
    }
    const qsizetype total = data.elementCount();
    if (observer.elementsBegin)
        observer.elementsBegin(total);
    // Each thread formats a chunk of lines and writes it when the chunks
    // before it are written. The observer hears of a chunk's lines as they
    // go to the file, like lines buffered on their way to the disk: a
    // failed write was heard of too.
    const int chunks = int((total + ChunkElements - 1) / ChunkElements);
    qsizetype heard = 0;
    const bool written = takeTurns<Chunk>(
        chunks, chunks > 1 ? workThreads(0) : 1,
        [&data, total](int chunk, Chunk &c) {
            c.first = chunk * ChunkElements;
            c.count = std::min(ChunkElements, total - c.first);
            if (c.buffer.isEmpty())
                c.buffer = QByteArray(ChunkElements * LongestLine, Qt::Uninitialized);
            formatChunk(data, c);
        },
        [&out](int, const Chunk &c) { return out.write(QByteArrayView(c.buffer.constData(), c.used)); },
        [&](int begun) {
            if (!observer.elementWritten)
                return;
            for (const qsizetype upTo = std::min(total, begun * ChunkElements); heard < upTo; ++heard)
                observer.elementWritten();
        });
    if (!written)
        return {out.error()};
    call(observer.elementsEnd);
    if (!data.areas.isEmpty() && !out.write(areaLines(data)))
        return {out.error()};
    return {out.commit() ? QString() : out.error()};
}

}  // namespace kalmor
