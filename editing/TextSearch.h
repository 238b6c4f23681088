#pragma once

#include "document/StationDocument.h"

#include <QPoint>
#include <QString>
#include <QStringView>

#include <vector>

namespace kalmor {

// A text the user looks for. It is found in any part of a text, in any
// letter case; accents count only where the user typed them: a letter
// typed without an accent also finds its accented forms ("cesta" finds
// "Cesta", "e" finds "ě"), one typed with an accent finds only itself
// ("výh" does not find "vyh").
class TextNeedle {
public:
    explicit TextNeedle(QStringView typed);

    bool isEmpty() const { return m_chars.empty(); }
    qsizetype size() const { return qsizetype(m_chars.size()); }

    // Whether the needle lies in a text given twice, folded: in lower case
    // (foldedLower) and in lower case without accents (foldedBare).
    bool foundIn(const char16_t *lower, const char16_t *bare, qsizetype length) const;

private:
    std::vector<char16_t> m_chars;  // lower case
    std::vector<bool> m_bare;       // typed without an accent
};

// The folding of a text character by character; both keep its length.
QString foldedLower(QStringView text);
QString foldedBare(QStringView text);

// Whether the typed text finds the text, by the rules of TextNeedle.
bool textMatches(QStringView typed, QStringView text);

// One element whose text holds the needle: a plate, or a desk element
// by its designation.
struct TextHit {
    QPoint cell;
    qint32 position = 0;  // in its list
    bool desk = false;    // in the desk element list, else the plate list
};

// The texts of one list folded in two flat buffers, following the list's
// edits, so that a search over two hundred thousand texts reads memory in
// one pass and an edit folds only the texts it changed.
class FoldedTexts {
public:
    template <class Record>
    void follow(const ElementList<Record> &list);
    // Calls found(position) for every text holding the needle.
    template <class Found>
    void search(const TextNeedle &needle, Found found) const
    {
        for (qint32 p = 0; p < qint32(m_length.size()); ++p) {
            const qsizetype start = m_start[std::size_t(p)];
            if (needle.foundIn(m_lower.data() + start, m_bare.data() + start, m_length[std::size_t(p)]))
                found(p);
        }
    }

private:
    template <class Record>
    void foldAll(const ElementList<Record> &list);
    void fold(qint32 position, const QString &text);
    void foldInto(const QString &text, qsizetype at);

    const void *m_list = nullptr;
    quint64 m_revision = 0;
    std::vector<char16_t> m_lower;
    std::vector<char16_t> m_bare;
    std::vector<qsizetype> m_start;  // of each position's text in the buffers
    std::vector<qint32> m_length;
    qsizetype m_dead = 0;  // characters of texts replaced since
    std::vector<qint32> m_touched;
};

// Finds the plates and the desk elements whose text holds a needle.
class TextSearch {
public:
    // The hits ordered by row, column, then plates before desk elements,
    // then list position.
    std::vector<TextHit> search(const StationData &doc, const TextNeedle &needle);

private:
    FoldedTexts m_plates;
    FoldedTexts m_desk;
};

}  // namespace kalmor
