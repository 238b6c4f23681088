#include "document/StationFile.h"

#include "document/FileErrors.h"
#include "document/ValueConversions.h"
#include "document/Windows1250.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>

namespace kalmor {

namespace {

constexpr char Separator = ';';
constexpr char CtrlZ = 0x1A;
constexpr qint64 ChunkSize = 1 << 20;

// Interprets the lines of one station file. Kind names are interned, so a
// million tiles of a few kinds share a few strings.
class LineInterpreter {
public:
    explicit LineInterpreter(StationData &data) : m_data(data) {}

    // Empty error text while all is well.
    QString apply(QByteArrayView line)
    {
        const std::vector<QByteArrayView> fields = splitLine(line);
        if (fields.empty())
            return {};
        const QByteArrayView key = fields[0];
        const QByteArrayView value = fields.size() > 1 ? fields[1] : QByteArrayView();
        if (key == "PRUSVITKA")
            return readTile(fields);
        if (key == "ZAROVKA")
            return readLamp(fields);
        if (key == "STITEK")
            return readPlate(fields);
        if (key == "SET_Stanice")
            m_data.stationName = decodeWindows1250(value);
        else if (key == "SET_Autor")
            m_data.author = decodeWindows1250(value);
        else if (key == "SET_Verze")
            m_data.version = decodeWindows1250(value);
        else if (key == "SET_Vydano")
            m_data.issueDate = decodeWindows1250(value);
        else if (key == "SET_Popis")
            m_data.description = decodeWindows1250(value);
        else if (key == "SET_Vyska")
            return readInteger(value, [this](qint32 v) { m_data.rows = clampPanelCells(v); });
        else if (key == "SET_Sirka")
            return readInteger(value, [this](qint32 v) { m_data.columns = clampPanelCells(v); });
        else if (key == "SET_BarvaPanelu") {
            const auto c = colourFromText(value);
            if (!c)
                return invalidIntegerMessage(decodeWindows1250(value));
            m_data.backgroundColour = *c;
        }
        return {};
    }

private:
    // The field at 1-based position `pos` without its first `drop`
    // characters, or nothing when the line is shorter.
    static std::optional<QByteArrayView> field(const std::vector<QByteArrayView> &f, std::size_t pos, qsizetype drop)
    {
        if (pos >= f.size())
            return std::nullopt;
        const QByteArrayView v = f[pos];
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

    static QString readInt(const std::vector<QByteArrayView> &f, std::size_t pos, qsizetype drop, qint32 &out)
    {
        if (const auto v = field(f, pos, drop))
            return readInteger(*v, [&out](qint32 x) { out = x; });
        return {};
    }

    static QString readBool(const std::vector<QByteArrayView> &f, std::size_t pos, bool &out)
    {
        const auto v = field(f, pos, 8);
        if (!v)
            return {};
        const auto b = parseBoolean(*v);
        if (!b)
            return invalidBooleanMessage(decodeWindows1250(*v));
        out = *b;
        return {};
    }

    void readName(const std::vector<QByteArrayView> &f, QString &out)
    {
        const auto v = field(f, 3, 5);
        if (!v)
            return;
        const QByteArray probe = QByteArray::fromRawData(v->data(), v->size());
        const auto it = m_names.constFind(probe);
        if (it != m_names.cend()) {
            out = *it;
            return;
        }
        out = decodeWindows1250(*v);
        m_names.insert(QByteArray(v->data(), v->size()), out);
    }

    QString readTile(const std::vector<QByteArrayView> &f)
    {
        TPolePanelu t;
        QString e = readInt(f, 1, 2, t.X);
        if (e.isEmpty()) e = readInt(f, 2, 2, t.Y);
        if (e.isEmpty()) readName(f, t.NAME);
        bool *flags[] = {&t.Cont_LH, &t.Cont_LS, &t.Cont_LD, &t.Cont_SH,
                         &t.Cont_SD, &t.Cont_PH, &t.Cont_PS, &t.Cont_PD};
        for (std::size_t i = 0; i < 8 && e.isEmpty(); ++i)
            e = readBool(f, 4 + i, *flags[i]);
        if (e.isEmpty())
            m_data.tiles.append(std::move(t));
        return e;
    }

    QString readLamp(const std::vector<QByteArrayView> &f)
    {
        TPoleZarovka z;
        QString e = readInt(f, 1, 2, z.X);
        if (e.isEmpty()) e = readInt(f, 2, 2, z.Y);
        if (e.isEmpty()) readName(f, z.NAME);
        if (e.isEmpty()) e = readInt(f, 4, 11, z.ODSAZENI_X);
        if (e.isEmpty()) e = readInt(f, 5, 11, z.ODSAZENI_Y);
        if (e.isEmpty())
            m_data.lamps.append(std::move(z));
        return e;
    }

    QString readPlate(const std::vector<QByteArrayView> &f)
    {
        TPoleStitek s;
        QString e = readInt(f, 1, 2, s.X);
        if (e.isEmpty()) e = readInt(f, 2, 2, s.Y);
        if (e.isEmpty()) readName(f, s.NAME);
        if (e.isEmpty())
            m_data.plates.append(std::move(s));
        return e;
    }

    StationData &m_data;
    QHash<QByteArray, QString> m_names;
};

// Cuts a stream of bytes into lines: LF or CR LF ends a line, a lone CR is
// dropped so files edited by hand still read, Ctrl-Z ends the file.
class LineReader {
public:
    explicit LineReader(LineInterpreter &interpreter) : m_interpreter(interpreter) {}

    // Returns false once Ctrl-Z was met or a line failed; finish() then
    // reads what stood before the Ctrl-Z on its line.
    bool feed(QByteArrayView chunk)
    {
        bool endOfFile = false;
        if (const void *z = std::memchr(chunk.data(), CtrlZ, std::size_t(chunk.size()))) {
            chunk = chunk.first(static_cast<const char *>(z) - chunk.data());
            endOfFile = true;
        }
        while (!chunk.isEmpty()) {
            const void *lf = std::memchr(chunk.data(), '\n', std::size_t(chunk.size()));
            if (!lf) {
                m_pending.append(chunk);
                break;
            }
            const qsizetype len = static_cast<const char *>(lf) - chunk.data();
            if (m_pending.isEmpty()) {
                if (!line(chunk.first(len)))
                    return false;
            } else {
                m_pending.append(chunk.first(len));
                const bool ok = line(m_pending);
                m_pending.clear();
                if (!ok)
                    return false;
            }
            chunk = chunk.sliced(len + 1);
        }
        return !endOfFile;
    }

    void finish()
    {
        if (!m_pending.isEmpty() && m_error.isEmpty())
            line(m_pending);
        m_pending.clear();
    }

    const QString &error() const { return m_error; }

private:
    bool line(QByteArrayView l)
    {
        // The CR of a CR LF line end goes without a copy of the line.
        if (l.endsWith('\r'))
            l.chop(1);
        if (std::memchr(l.data(), '\r', std::size_t(l.size()))) {
            QByteArray clean = l.toByteArray();
            clean.removeIf([](char c) { return c == '\r'; });
            m_error = m_interpreter.apply(clean);
        } else {
            m_error = m_interpreter.apply(l);
        }
        return m_error.isEmpty();
    }

    LineInterpreter &m_interpreter;
    QByteArray m_pending;
    QString m_error;
};

void clearLists(StationData &d)
{
    d.tiles.clear();
    d.lamps.clear();
    d.plates.clear();
}

void appendInt(QByteArray &buf, qint64 v)
{
    char tmp[24];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, v);
    buf.append(tmp, r.ptr - tmp);
}

// Writes one line straight into the buffer's memory: room for the longest
// such line is made at once and what is left over given back at the end,
// since a save or a copy writes a million lines.
class LineSink {
public:
    static constexpr qsizetype RoomBesidesName = 160;

    LineSink(QByteArray &buf, QByteArrayView name) : m_buf(buf)
    {
        const qsizetype start = buf.size();
        buf.resize(start + RoomBesidesName + name.size());
        m_at = buf.data() + start;
    }
    ~LineSink() { m_buf.resize(m_at - m_buf.constData()); }
    LineSink(const LineSink &) = delete;
    LineSink &operator=(const LineSink &) = delete;

    template <std::size_t N>
    LineSink &operator<<(const char (&text)[N])
    {
        return *this << QByteArrayView(text, N - 1);
    }
    LineSink &operator<<(QByteArrayView text)
    {
        std::memcpy(m_at, text.data(), std::size_t(text.size()));
        m_at += text.size();
        return *this;
    }
    LineSink &operator<<(qint32 v)
    {
        m_at = std::to_chars(m_at, m_at + 12, v).ptr;
        return *this;
    }
    LineSink &operator<<(bool b) { return b ? *this << "-1" : *this << "0"; }

private:
    QByteArray &m_buf;
    char *m_at;
};

void appendTile(QByteArray &buf, const TPolePanelu &t, QByteArrayView name)
{
    LineSink line(buf, name);
    line << "PRUSVITKA;X=" << t.X << ";Y=" << t.Y << ";NAME=" << name << ";Cont_LH=" << t.Cont_LH
         << ";Cont_LS=" << t.Cont_LS << ";Cont_LD=" << t.Cont_LD << ";Cont_SH=" << t.Cont_SH << ";Cont_SD="
         << t.Cont_SD << ";Cont_PH=" << t.Cont_PH << ";Cont_PS=" << t.Cont_PS << ";Cont_PD=" << t.Cont_PD << "\r\n";
}

void appendLamp(QByteArray &buf, const TPoleZarovka &z, QByteArrayView name)
{
    LineSink line(buf, name);
    line << "ZAROVKA;X=" << z.X << ";Y=" << z.Y << ";NAME=" << name << ";ODSAZENI_X=" << z.ODSAZENI_X
         << ";ODSAZENI_Y=" << z.ODSAZENI_Y << "\r\n";
}

void appendPlate(QByteArray &buf, const TPoleStitek &s, QByteArrayView name)
{
    LineSink line(buf, name);
    line << "STITEK;X=" << s.X << ";Y=" << s.Y << ";NAME=" << name << "\r\n";
}

// Writes through a QSaveFile in large blocks and remembers the first
// system error, so the message names what really went wrong.
class BlockWriter {
public:
    explicit BlockWriter(const QString &path) : m_file(path) {}

    bool open()
    {
        const QFileInfo existing(m_file.fileName());
        errno = 0;
        if (existing.exists() && (!existing.isWritable() || existing.isDir()))
            return fail(EACCES);
        if (!m_file.open(QIODevice::WriteOnly))
            return fail(errno ? errno : EACCES);
        m_buffer.reserve(ChunkSize + 4096);
        return true;
    }

    QByteArray &buffer() { return m_buffer; }

    bool flushIfFull() { return m_buffer.size() < ChunkSize || flush(); }

    bool flush()
    {
        if (m_buffer.isEmpty())
            return true;
        errno = 0;
        const qint64 n = m_file.write(m_buffer);
        m_buffer.clear();
        if (n < 0 || !m_file.flush())
            return fail(errno ? errno : EIO);
        return true;
    }

    bool commit()
    {
        if (!flush())
            return false;
        errno = 0;
        if (!m_file.commit())
            return fail(errno ? errno : EIO);
        return true;
    }

    QString error() const { return fileErrorMessage(m_errno); }

private:
    bool fail(int e)
    {
        m_errno = e;
        return false;
    }

    QSaveFile m_file;
    QByteArray m_buffer;
    int m_errno = 0;
};

template <class F>
void call(const F &f)
{
    if (f)
        f();
}

}  // namespace

std::vector<QByteArrayView> splitLine(QByteArrayView line)
{
    std::vector<QByteArrayView> fields;
    qsizetype start = 0;
    while (start < line.size()) {
        const qsizetype sep = line.indexOf(Separator, start);
        if (sep < 0) {
            fields.push_back(line.sliced(start));
            break;
        }
        fields.push_back(line.sliced(start, sep - start));
        start = sep + 1;
    }
    return fields;
}

FileResult readStationBytes(QByteArrayView bytes, StationData &into)
{
    clearLists(into);
    LineInterpreter interpreter(into);
    LineReader reader(interpreter);
    reader.feed(bytes);
    reader.finish();
    return {reader.error()};
}

FileResult readStationFile(const QString &path, StationData &into)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return {fileErrorMessage(errno ? errno : ENOENT)};
    clearLists(into);
    LineInterpreter interpreter(into);
    LineReader reader(interpreter);
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    for (;;) {
        errno = 0;
        const qint64 n = file.read(chunk.data(), ChunkSize);
        if (n < 0)
            return {fileErrorMessage(errno ? errno : EIO)};
        if (n == 0 || !reader.feed(QByteArrayView(chunk.constData(), n)))
            break;
    }
    reader.finish();
    return {reader.error()};
}

QByteArray settingLines(const StationData &d)
{
    QByteArray b;
    const auto text = [&b](const char *key, const QString &value) {
        b.append(key).append(encodeWindows1250(value)).append("\r\n");
    };
    b.append("SET_Vyska;");
    appendInt(b, d.rows);
    b.append("\r\nSET_Sirka;");
    appendInt(b, d.columns);
    b.append("\r\n");
    text("SET_Stanice;", d.stationName);
    text("SET_Autor;", d.author);
    text("SET_Verze;", d.version);
    text("SET_Popis;", d.description);
    text("SET_Vydano;", d.issueDate);
    b.append("SET_BarvaPanelu;").append(colourToText(d.backgroundColour)).append("\r\n");
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
    appendTile(out, t, nameBytes(t.NAME));
}

void ElementLines::append(QByteArray &out, const TPoleZarovka &z)
{
    appendLamp(out, z, nameBytes(z.NAME));
}

void ElementLines::append(QByteArray &out, const TPoleStitek &s)
{
    appendPlate(out, s, nameBytes(s.NAME));
}

QByteArray tileLine(const TPolePanelu &t)
{
    QByteArray b;
    appendTile(b, t, encodeWindows1250(t.NAME));
    return b;
}

QByteArray lampLine(const TPoleZarovka &z)
{
    QByteArray b;
    appendLamp(b, z, encodeWindows1250(z.NAME));
    return b;
}

QByteArray plateLine(const TPoleStitek &s)
{
    QByteArray b;
    appendPlate(b, s, encodeWindows1250(s.NAME));
    return b;
}

FileResult writeStationFile(const QString &path, const StationData &data, const WriteObserver &observer)
{
    BlockWriter out(path);
    if (!out.open())
        return {out.error()};
    out.buffer().append(settingLines(data));
    if (!out.flush())
        return {out.error()};
    if (!data.hasAnyElement()) {
        call(observer.emptyPanel);
        return {out.commit() ? QString() : out.error()};
    }
    if (observer.elementsBegin)
        observer.elementsBegin(data.elementCount());
    ElementLines lines;
    const auto written = [&]() {
        call(observer.elementWritten);
        return out.flushIfFull();
    };
    for (const TPolePanelu &t : data.tiles) {
        lines.append(out.buffer(), t);
        if (!written())
            return {out.error()};
    }
    for (const TPoleZarovka &z : data.lamps) {
        lines.append(out.buffer(), z);
        if (!written())
            return {out.error()};
    }
    for (const TPoleStitek &s : data.plates) {
        lines.append(out.buffer(), s);
        if (!written())
            return {out.error()};
    }
    call(observer.elementsEnd);
    return {out.commit() ? QString() : out.error()};
}

}  // namespace kalmor
