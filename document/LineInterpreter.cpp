#include "document/LineInterpreter.h"

#include "document/IoAddress.h"
#include "document/StationFile.h"
#include "document/ValueConversions.h"
#include "document/Windows1250.h"

#include <QHash>

#include <array>
#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kalmor {

namespace {

constexpr char Separator = ';';

// The first fields of a line; an element line reads no more than twelve,
// and a key is never compared past the first. Left uninitialised: only the
// first `count` are ever read.
struct Fields {
    static constexpr std::size_t Max = 12;
    QByteArrayView at[Max];
    std::size_t count = 0;
};

// The fields as splitLine() gives them, stopping after `max`. Separators
// are found sixteen bytes at a time where the processor can, since fields
// are too short for a library search to pay.
template <class Take>
void forEachField(QByteArrayView line, std::size_t max, Take take)
{
    const char *const begin = line.data();
    const char *const end = begin + line.size();
    const char *start = begin;
    std::size_t n = 0;
    const auto separatorAt = [&](const char *sep) {
        take(QByteArrayView(start, sep - start));
        start = sep + 1;
        return ++n < max;
    };
#ifdef __SSE2__
    const __m128i separator = _mm_set1_epi8(Separator);
    for (const char *block = begin; end - block >= 16; block += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block));
        for (unsigned bits = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, separator))); bits != 0;
             bits &= bits - 1) {
            if (!separatorAt(block + std::countr_zero(bits)))
                return;
        }
    }
    const char *tail = begin + (end - begin) / 16 * 16;
#else
    const char *tail = begin;
#endif
    for (const char *p = tail; p != end; ++p) {
        if (*p == Separator && !separatorAt(p))
            return;
    }
    if (start < end)
        take(QByteArrayView(start, end - start));
}

bool same(QByteArrayView a, QByteArrayView b)
{
    // An empty view may have no data pointer, which memcmp must not get.
    return a.size() == b.size() && (a.isEmpty() || std::memcmp(a.data(), b.data(), std::size_t(a.size())) == 0);
}

// Kind names of a block, decoded once each: a million tiles of a few
// kinds share a few strings. A small table keyed by a cheap hash answers
// almost every line; the full hash catches the rest.
class NameTable {
public:
    const QString &operator()(QByteArrayView bytes)
    {
        Slot &slot = m_recent[cheapHash(bytes) % m_recent.size()];
        if (same(slot.bytes, bytes))
            return slot.name;
        auto it = m_all.constFind(QByteArray::fromRawData(bytes.data(), bytes.size()));
        if (it == m_all.cend())
            it = m_all.insert(bytes.toByteArray(), decodeWindows1250(bytes));
        slot.bytes = it.key();
        slot.name = *it;
        return slot.name;
    }

private:
    static std::size_t cheapHash(QByteArrayView b)
    {
        std::size_t h = std::size_t(b.size());
        for (qsizetype i = 4; i < b.size(); i += 2)
            h = h * 31 + static_cast<unsigned char>(b[i]);
        return h;
    }

    struct Slot {
        QByteArray bytes;
        QString name;
    };
    std::array<Slot, 256> m_recent;
    QHash<QByteArray, QString> m_all;
};

// The keys only a station file has: a file without any of them is no
// station, however tolerant the reader is of lines it does not know.
bool isStationKey(QByteArrayView key)
{
    return key.startsWith("SET_") || same(key, "PRUSVITKA") || same(key, "ZAROVKA") || same(key, "STITEK")
        || same(key, "PRVEK") || same(key, "OBLAST");
}

// Walks an element line as the writer writes it: the keys it writes, plain
// decimal numbers, flags "0" and "-1". Anything else makes it give up, and
// the line is read field by field; where it does not give up it gives
// what that reading gives, without cutting the line into fields first.
class WrittenLine {
public:
    explicit WrittenLine(QByteArrayView line) : m_p(line.data()), m_end(line.data() + line.size()) {}

    // The literal (a key with its "=", or a keyword with its ";") comes next.
    template <std::size_t N>
    bool key(const char (&literal)[N])
    {
        constexpr std::size_t n = N - 1;
        if (std::size_t(m_end - m_p) < n || std::memcmp(m_p, literal, n) != 0)
            return false;
        m_p += n;
        return true;
    }

    // A separator comes next, then the literal.
    template <std::size_t N>
    bool nextKey(const char (&literal)[N])
    {
        if (m_p == m_end || *m_p != ';')
            return false;
        ++m_p;
        return key(literal);
    }

    // Up to nine decimal digits, "-" before them allowed, the field ending
    // after them.
    bool number(qint32 &out)
    {
        const bool negative = m_p != m_end && *m_p == '-';
        const char *digits = m_p + (negative ? 1 : 0);
        const char *q = digits;
        // A tenth digit is read only to refuse the field, so the sum is
        // kept wider than the result.
        qint64 v = 0;
        while (q != m_end && q - digits < 10 && unsigned(*q - '0') < 10u)
            v = v * 10 + (*q++ - '0');
        if (q == digits || q - digits > 9 || !fieldEndsAt(q))
            return false;
        out = qint32(negative ? -v : v);
        m_p = q;
        return true;
    }

    bool flag(bool &out)
    {
        if (m_p != m_end && *m_p == '0' && fieldEndsAt(m_p + 1)) {
            out = false;
            m_p += 1;
            return true;
        }
        if (m_end - m_p >= 2 && m_p[0] == '-' && m_p[1] == '1' && fieldEndsAt(m_p + 2)) {
            out = true;
            m_p += 2;
            return true;
        }
        return false;
    }

    // The rest of the field; a CR in it would be dropped, which only the
    // reading field by field does.
    bool text(QByteArrayView &out)
    {
        const char *q = m_p;
        while (q != m_end && *q != ';') {
            if (*q == '\r')
                return false;
            ++q;
        }
        out = QByteArrayView(m_p, q - m_p);
        m_p = q;
        return true;
    }

    // Nothing follows, or only fields the line's reading ignores: after a
    // separator with nothing behind it no field begins.
    bool ends() const { return m_p == m_end || (*m_p == ';' && m_p + 1 == m_end); }

private:
    bool fieldEndsAt(const char *q) const { return q == m_end || *q == ';'; }

    const char *m_p;
    const char *m_end;
};

class LineInterpreter {
public:
    explicit LineInterpreter(ReadBlock &block) : m_block(block) {}

    // Reads the line when it is an element line in the form the writer
    // gives it; false, with nothing changed, for any other line.
    bool applyWritten(QByteArrayView line)
    {
        WrittenLine w(line);
        if (w.key("PRUSVITKA;"))
            return writtenTile(w);
        if (w.key("ZAROVKA;"))
            return writtenLamp(w);
        if (w.key("STITEK;"))
            return writtenPlate(w);
        return false;
    }

    // Empty error text while all is well.
    QString apply(QByteArrayView line)
    {
        Fields f;
        forEachField(line, Fields::Max, [&f](QByteArrayView field) { f.at[f.count++] = field; });
        if (f.count == 0)
            return {};
        const QByteArrayView key = f.at[0];
        const QByteArrayView value = f.count > 1 ? f.at[1] : QByteArrayView();
        ++m_block.filledLines;
        if (isStationKey(key))
            ++m_block.stationLines;
        if (same(key, "PRUSVITKA"))
            return readTile(f);
        if (same(key, "ZAROVKA"))
            return readLamp(f);
        if (same(key, "STITEK"))
            return readPlate(f);
        if (same(key, "OBLAST"))
            return readArea(f);
        if (same(key, "PRVEK"))
            return readDeskElement(f);
        if (key == "SET_Stanice")
            m_block.stationName = decodeWindows1250(value);
        else if (key == "SET_Autor")
            m_block.author = decodeWindows1250(value);
        else if (key == "SET_Verze")
            m_block.version = decodeWindows1250(value);
        else if (key == "SET_Vydano")
            m_block.issueDate = decodeWindows1250(value);
        else if (key == "SET_Popis")
            m_block.description = decodeWindows1250(value);
        else if (key == "SET_Vyska")
            return readInteger(value, [this](qint32 v) { m_block.rows = clampPanelCells(v); });
        else if (key == "SET_Sirka")
            return readInteger(value, [this](qint32 v) { m_block.columns = clampPanelCells(v); });
        else if (key == "SET_BarvaPanelu") {
            const auto c = colourFromText(value);
            if (!c)
                return invalidIntegerMessage(decodeWindows1250(value));
            m_block.backgroundColour = *c;
        }
        return {};
    }

private:
    template <class Record>
    bool writtenCellAndName(WrittenLine &w, Record &r, QByteArrayView &name)
    {
        return w.key("X=") && w.number(r.X) && w.nextKey("Y=") && w.number(r.Y) && w.nextKey("NAME=") && w.text(name);
    }

    // The record of a line read in one pass joins its list with the name
    // the block shares, and the line counts as a station line.
    template <class Record>
    bool keepWritten(LargeVector<Record> &list, Record &r, QByteArrayView name)
    {
        r.NAME = m_names(name);
        list.push_back(std::move(r));
        ++m_block.filledLines;
        ++m_block.stationLines;
        return true;
    }

    bool writtenTile(WrittenLine &w)
    {
        TPolePanelu t;
        QByteArrayView name;
        if (!writtenCellAndName(w, t, name))
            return false;
        if (!(w.nextKey("Cont_LH=") && w.flag(t.Cont_LH) && w.nextKey("Cont_LS=") && w.flag(t.Cont_LS)
              && w.nextKey("Cont_LD=") && w.flag(t.Cont_LD) && w.nextKey("Cont_SH=") && w.flag(t.Cont_SH)
              && w.nextKey("Cont_SD=") && w.flag(t.Cont_SD) && w.nextKey("Cont_PH=") && w.flag(t.Cont_PH)
              && w.nextKey("Cont_PS=") && w.flag(t.Cont_PS) && w.nextKey("Cont_PD=") && w.flag(t.Cont_PD)
              && w.ends()))
            return false;
        return keepWritten(m_block.tiles, t, name);
    }

    // Lamps with addresses are read field by field.
    bool writtenLamp(WrittenLine &w)
    {
        TPoleZarovka z;
        QByteArrayView name;
        if (!(writtenCellAndName(w, z, name) && w.nextKey("ODSAZENI_X=") && w.number(z.ODSAZENI_X)
              && w.nextKey("ODSAZENI_Y=") && w.number(z.ODSAZENI_Y) && w.ends()))
            return false;
        return keepWritten(m_block.lamps, z, name);
    }

    // Plates with texts are read field by field.
    bool writtenPlate(WrittenLine &w)
    {
        TPoleStitek s;
        QByteArrayView name;
        if (!(writtenCellAndName(w, s, name) && w.ends()))
            return false;
        return keepWritten(m_block.plates, s, name);
    }

    // The field at 1-based position `pos` without its first `drop`
    // characters, or nothing when the line is shorter.
    static std::optional<QByteArrayView> field(const Fields &f, std::size_t pos, qsizetype drop)
    {
        if (pos >= f.count)
            return std::nullopt;
        const QByteArrayView v = f.at[pos];
        return v.size() > drop ? v.sliced(drop) : QByteArrayView();
    }

    template <class Set>
    static QString readInteger(QByteArrayView text, Set set)
    {
        const auto v = parseInteger(text);
        if (!v)
            return invalidIntegerMessage(decodeWindows1250(text));
        set(*v);
        return {};
    }

    static QString readInt(const Fields &f, std::size_t pos, qsizetype drop, qint32 &out)
    {
        if (const auto v = field(f, pos, drop))
            return readInteger(*v, [&out](qint32 x) { out = x; });
        return {};
    }

    static QString readBool(const Fields &f, std::size_t pos, bool &out)
    {
        const auto v = field(f, pos, 8);
        if (!v)
            return {};
        // The writer's own two values first.
        if (same(*v, "0") || same(*v, "-1")) {
            out = v->size() == 2;
            return {};
        }
        const auto b = parseBoolean(*v);
        if (!b)
            return invalidBooleanMessage(decodeWindows1250(*v));
        out = *b;
        return {};
    }

    void readName(const Fields &f, QString &out)
    {
        if (const auto v = field(f, 3, 5))
            out = m_names(*v);
    }

    // The cell and the name every element line starts with.
    template <class Record>
    QString readCellAndName(const Fields &f, Record &r)
    {
        QString e = readInt(f, 1, 2, r.X);
        if (e.isEmpty()) e = readInt(f, 2, 2, r.Y);
        if (e.isEmpty()) readName(f, r.NAME);
        return e;
    }

    QString readTile(const Fields &f)
    {
        TPolePanelu t;
        QString e = readCellAndName(f, t);
        bool *flags[] = {&t.Cont_LH, &t.Cont_LS, &t.Cont_LD, &t.Cont_SH,
                         &t.Cont_SD, &t.Cont_PH, &t.Cont_PS, &t.Cont_PD};
        for (std::size_t i = 0; i < 8 && e.isEmpty(); ++i)
            e = readBool(f, 4 + i, *flags[i]);
        if (e.isEmpty())
            m_block.tiles.push_back(std::move(t));
        return e;
    }

    QString readLamp(const Fields &f)
    {
        TPoleZarovka z;
        QString e = readCellAndName(f, z);
        if (e.isEmpty()) e = readInt(f, 4, 11, z.ODSAZENI_X);
        if (e.isEmpty()) e = readInt(f, 5, 11, z.ODSAZENI_Y);
        // Fields after the offsets are keyed; keys this reader does not
        // know are passed over, as an older reader passes over IO=.
        for (std::size_t pos = 6; pos < f.count && e.isEmpty(); ++pos) {
            if (f.at[pos].startsWith("IO="))
                e = readIoValue(f.at[pos].sliced(3), z.IO);
        }
        if (e.isEmpty())
            m_block.lamps.push_back(std::move(z));
        return e;
    }

    // The text is the fourth field when it is keyed "TEXT="; a fourth
    // field with another key is ignored, as it was before plates had texts.
    QString readPlate(const Fields &f)
    {
        TPoleStitek s;
        QString e = readCellAndName(f, s);
        if (f.count > 4 && f.at[4].startsWith("TEXT="))
            s.TEXT = decodeWindows1250(f.at[4].sliced(5));
        if (e.isEmpty())
            m_block.plates.push_back(std::move(s));
        return e;
    }

    // OBLAST;X=..;Y=..;SIRKA=..;VYSKA=..;NAME=.., read by position as the
    // element lines are.
    QString readArea(const Fields &f)
    {
        TOblast a;
        QString e = readInt(f, 1, 2, a.X);
        if (e.isEmpty()) e = readInt(f, 2, 2, a.Y);
        if (e.isEmpty()) e = readInt(f, 3, 6, a.SIRKA);
        if (e.isEmpty()) e = readInt(f, 4, 6, a.VYSKA);
        if (!e.isEmpty())
            return e;
        if (const auto v = field(f, 5, 5))
            a.NAME = decodeWindows1250(*v);
        m_block.areas.push_back(std::move(a));
        return {};
    }

    // The fields after the name are keyed, in any order; a key this reader
    // does not know is passed over, so a later field does not stop it.
    QString readDeskElement(const Fields &f)
    {
        TPolePrvek p;
        QString e = readCellAndName(f, p);
        for (std::size_t pos = 4; pos < f.count && e.isEmpty(); ++pos) {
            const QByteArrayView v = f.at[pos];
            if (v.startsWith("TEXT="))
                p.TEXT = decodeWindows1250(v.sliced(5));
            else if (v.startsWith("IO="))
                e = readIoValue(v.sliced(3), p.IO);
        }
        if (e.isEmpty())
            m_block.deskElements.push_back(std::move(p));
        return e;
    }

    ReadBlock &m_block;
    NameTable m_names;
};

template <class T>
void setIfRead(const std::optional<T> &read, T &field)
{
    if (read)
        field = *read;
}

}  // namespace

std::vector<QByteArrayView> splitLine(QByteArrayView line)
{
    std::vector<QByteArrayView> fields;
    forEachField(line, std::size_t(line.size()), [&fields](QByteArrayView f) { fields.push_back(f); });
    return fields;
}

QString notAStationMessage()
{
    return QStringLiteral("Soubor není stanice Kalmor.");
}

QString lineTooLongMessage(qsizetype line)
{
    return QStringLiteral("Line %1 is longer than 64 MiB").arg(line);
}

void ReadBlock::applySettings(StationData &into) const
{
    setIfRead(rows, into.rows);
    setIfRead(columns, into.columns);
    setIfRead(backgroundColour, into.backgroundColour);
    setIfRead(stationName, into.stationName);
    setIfRead(author, into.author);
    setIfRead(version, into.version);
    setIfRead(description, into.description);
    setIfRead(issueDate, into.issueDate);
}

void ReadBlock::reset()
{
    tiles.clear();
    lamps.clear();
    plates.clear();
    areas.clear();
    deskElements.clear();
    rows.reset();
    columns.reset();
    backgroundColour.reset();
    stationName.reset();
    author.reset();
    version.reset();
    description.reset();
    issueDate.reset();
    lines = filledLines = stationLines = errorLine = 0;
    error.clear();
    lineTooLong = false;
}

void interpretLines(QByteArrayView text, ReadBlock &block, bool fast)
{
    LineInterpreter interpreter(block);
    // Tiles are the usual line: about a hundred bytes each.
    block.tiles.reserve(std::size_t(text.size() / 100));
    QByteArray clean;
    const char *p = text.data();
    const char *end = p + text.size();
    while (p < end) {
        const void *lf = std::memchr(p, '\n', std::size_t(end - p));
        const char *lineEnd = lf ? static_cast<const char *>(lf) : end;
        ++block.lines;
        QByteArrayView line(p, lineEnd - p);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > MaxLineBytes) {
            block.lineTooLong = true;
            block.errorLine = block.lines;
            return;
        }
        if (fast && interpreter.applyWritten(line)) {
            p = lf ? lineEnd + 1 : end;
            continue;
        }
        if (std::memchr(line.data(), '\r', std::size_t(line.size()))) {
            // A lone CR is dropped, so files edited by hand still read.
            clean = line.toByteArray();
            clean.removeIf([](char c) { return c == '\r'; });
            block.error = interpreter.apply(clean);
        } else {
            block.error = interpreter.apply(line);
        }
        if (!block.error.isEmpty()) {
            block.errorLine = block.lines;
            return;
        }
        p = lf ? lineEnd + 1 : end;
    }
}

}  // namespace kalmor
