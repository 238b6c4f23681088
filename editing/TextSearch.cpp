#include "editing/TextSearch.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace kalmor {

namespace {

// Lower case and lower case without an accent of every character up to
// the end of Latin Extended-B, which holds every letter windows-1250 has;
// other characters fold to their lower case only.
struct Folding {
    std::array<char16_t, 0x250> lower{};
    std::array<char16_t, 0x250> bare{};

    Folding()
    {
        for (std::size_t c = 0; c < lower.size(); ++c) {
            const QChar low = QChar(char16_t(c)).toLower();
            lower[c] = low.unicode();
            bare[c] = low.unicode();
            if (low.decompositionTag() == QChar::Canonical) {
                const QString parts = low.decomposition();
                if (!parts.isEmpty())
                    bare[c] = parts.front().toLower().unicode();
            }
        }
    }
};

const Folding &folding()
{
    static const Folding table;
    return table;
}

char16_t lowerOf(char16_t c)
{
    return c < 0x250 ? folding().lower[c] : QChar(c).toLower().unicode();
}

char16_t bareOf(char16_t c)
{
    return c < 0x250 ? folding().bare[c] : QChar(c).toLower().unicode();
}

}  // namespace

TextNeedle::TextNeedle(QStringView typed)
{
    for (const QChar c : typed) {
        const char16_t low = lowerOf(c.unicode());
        m_chars.push_back(low);
        m_bare.push_back(bareOf(low) == low);
    }
}

bool TextNeedle::foundIn(const char16_t *lower, const char16_t *bare, qsizetype length) const
{
    const qsizetype n = size();
    if (n == 0 || n > length)
        return false;
    const char16_t first = m_chars[0];
    const char16_t *firstFrom = m_bare[0] ? bare : lower;
    for (qsizetype at = 0; at + n <= length; ++at) {
        if (firstFrom[at] != first)
            continue;
        qsizetype k = 1;
        while (k < n && (m_bare[std::size_t(k)] ? bare : lower)[at + k] == m_chars[std::size_t(k)])
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

QString foldedLower(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    std::transform(text.begin(), text.end(), out.begin(), [](QChar c) { return QChar(lowerOf(c.unicode())); });
    return out;
}

QString foldedBare(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    std::transform(text.begin(), text.end(), out.begin(), [](QChar c) { return QChar(bareOf(c.unicode())); });
    return out;
}

bool textMatches(QStringView typed, QStringView text)
{
    const QString lower = foldedLower(text);
    const QString bare = foldedBare(text);
    return TextNeedle(typed).foundIn(reinterpret_cast<const char16_t *>(lower.constData()),
                                     reinterpret_cast<const char16_t *>(bare.constData()), text.size());
}

std::vector<TextHit> TextSearch::search(const StationData &doc, const TextNeedle &needle)
{
    m_plates.follow(doc.plates);
    m_desk.follow(doc.deskElements);
    std::vector<TextHit> hits;
    if (needle.isEmpty())
        return hits;
    m_plates.search(needle, [&](qint32 p) {
        const TPoleStitek &s = doc.plates.at(p);
        hits.push_back(TextHit{QPoint(s.X, s.Y), p, false});
    });
    m_desk.search(needle, [&](qint32 p) {
        const TPolePrvek &e = doc.deskElements.at(p);
        hits.push_back(TextHit{QPoint(e.X, e.Y), p, true});
    });
    std::sort(hits.begin(), hits.end(), [](const TextHit &a, const TextHit &b) {
        return std::tuple(a.cell.y(), a.cell.x(), a.desk, a.position)
            < std::tuple(b.cell.y(), b.cell.x(), b.desk, b.position);
    });
    return hits;
}

template <class Record>
void FoldedTexts::follow(const ElementList<Record> &list)
{
    if (m_list == &list && m_revision == list.revision())
        return;
    m_touched.clear();
    if (m_list != &list || !list.positionsChangedSince(m_revision, m_touched)) {
        foldAll(list);
    } else {
        const qint32 count = qint32(list.count());
        m_start.resize(std::size_t(count));
        m_length.resize(std::size_t(count), 0);
        for (const qint32 p : m_touched) {
            if (p < count)
                fold(p, list.at(p).TEXT);
        }
        // Replaced texts stay in the buffers until they are half of them.
        if (m_dead > qsizetype(m_lower.size()) / 2)
            foldAll(list);
    }
    m_list = &list;
    m_revision = list.revision();
}

template <class Record>
void FoldedTexts::foldAll(const ElementList<Record> &list)
{
    const qint32 count = qint32(list.count());
    m_start.resize(std::size_t(count));
    m_length.resize(std::size_t(count));
    qsizetype total = 0;
    for (qint32 p = 0; p < count; ++p) {
        m_start[std::size_t(p)] = total;
        m_length[std::size_t(p)] = qint32(list.at(p).TEXT.size());
        total += m_length[std::size_t(p)];
    }
    // Room for the texts of edits to come, which are folded at the end.
    const std::size_t room = std::size_t(total + total / 8 + 1024);
    m_lower.reserve(room);
    m_bare.reserve(room);
    m_lower.resize(std::size_t(total));
    m_bare.resize(std::size_t(total));
    m_dead = 0;
    for (qint32 p = 0; p < count; ++p)
        foldInto(list.at(p).TEXT, m_start[std::size_t(p)]);
}

void FoldedTexts::fold(qint32 position, const QString &text)
{
    m_dead += m_length[std::size_t(position)];
    m_start[std::size_t(position)] = qsizetype(m_lower.size());
    m_length[std::size_t(position)] = qint32(text.size());
    m_lower.resize(m_lower.size() + std::size_t(text.size()));
    m_bare.resize(m_bare.size() + std::size_t(text.size()));
    foldInto(text, m_start[std::size_t(position)]);
}

void FoldedTexts::foldInto(const QString &text, qsizetype at)
{
    char16_t *lower = m_lower.data() + at;
    char16_t *bare = m_bare.data() + at;
    for (const QChar c : text) {
        *lower = lowerOf(c.unicode());
        *bare++ = bareOf(*lower++);
    }
}

}  // namespace kalmor
