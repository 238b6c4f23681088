#include "analysis/TextDuplicates.h"

#include <algorithm>

namespace kalmor {

namespace {

// Removes one value from an unordered vector.
void removeValue(std::vector<qint32> &values, qint32 value)
{
    const auto it = std::find(values.begin(), values.end(), value);
    if (it == values.end())
        return;
    *it = values.back();
    values.pop_back();
}

}  // namespace

void TextDuplicates::update(const StationData &doc)
{
    const ElementList<TPoleStitek> &plates = doc.plates;
    if (m_list == &plates && m_listRevision == plates.revision())
        return;
    std::vector<qint32> touched;
    if (m_list == &plates && plates.positionsChangedSince(m_listRevision, touched))
        follow(plates, touched);
    else
        analyseAll(plates);
    m_list = &plates;
    m_listRevision = plates.revision();
    ++m_revision;
}

void TextDuplicates::analyseAll(const ElementList<TPoleStitek> &plates)
{
    m_groups.clear();
    m_problems.clear();
    m_kinds.clear();
    m_texts.assign(std::size_t(plates.count()), QString());
    m_cells.assign(std::size_t(plates.count()), QPoint());
    for (qint32 i = 0; i < qint32(plates.count()); ++i) {
        const TPoleStitek &s = plates.at(i);
        m_texts[std::size_t(i)] = s.TEXT;
        m_cells[std::size_t(i)] = QPoint(s.X, s.Y);
        if (!s.TEXT.isEmpty())
            m_groups[s.TEXT].push_back(i);
    }
    std::vector<Problem> all;
    for (auto it = m_groups.cbegin(); it != m_groups.cend(); ++it) {
        if (it->size() < 2)
            continue;
        for (const qint32 p : *it) {
            const TPoleStitek &s = plates.at(p);
            all.push_back(Problem{s.X, s.Y, p, m_kinds.idOf(s.NAME), ProblemCode::DuplicateText, std::nullopt,
                                  ListKind::Plates});
        }
    }
    std::sort(all.begin(), all.end(), problemBefore);
    m_problems.insert(std::move(all));
}

void TextDuplicates::follow(const ElementList<TPoleStitek> &plates, std::vector<qint32> &touched)
{
    // Positions past the end are gone: a removal moved the last record.
    const qint32 count = qint32(plates.count());
    for (qint32 p = count; p < qint32(m_texts.size()); ++p)
        touched.push_back(p);
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());

    std::vector<QPoint> dirty;
    for (const qint32 p : touched) {
        if (p < qint32(m_texts.size()))
            leave(p, dirty);
    }
    m_texts.resize(std::size_t(count));
    m_cells.resize(std::size_t(count));
    for (const qint32 p : touched) {
        if (p < count)
            enter(plates, p, dirty);
    }
    relist(plates, dirty);
}

void TextDuplicates::twinsOf(const QString &text, std::vector<QPoint> &dirty) const
{
    const auto it = m_groups.constFind(text);
    if (it == m_groups.cend() || it->size() > 2)
        return;
    for (const qint32 p : *it)
        dirty.push_back(m_cells[std::size_t(p)]);
}

void TextDuplicates::leave(qint32 position, std::vector<QPoint> &dirty)
{
    const QString &text = m_texts[std::size_t(position)];
    dirty.push_back(m_cells[std::size_t(position)]);
    if (text.isEmpty())
        return;
    const auto it = m_groups.find(text);
    if (it == m_groups.end())
        return;
    removeValue(*it, position);
    if (it->empty())
        m_groups.erase(it);
    else
        twinsOf(text, dirty);
}

void TextDuplicates::enter(const ElementList<TPoleStitek> &plates, qint32 position, std::vector<QPoint> &dirty)
{
    const TPoleStitek &s = plates.at(position);
    m_texts[std::size_t(position)] = s.TEXT;
    m_cells[std::size_t(position)] = QPoint(s.X, s.Y);
    dirty.push_back(QPoint(s.X, s.Y));
    if (s.TEXT.isEmpty())
        return;
    m_groups[s.TEXT].push_back(position);
    twinsOf(s.TEXT, dirty);
}

// The problems of the dirty cells, made anew from the groups.
void TextDuplicates::relist(const ElementList<TPoleStitek> &plates, std::vector<QPoint> &dirty)
{
    const auto byCell = [](QPoint a, QPoint b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); };
    std::sort(dirty.begin(), dirty.end(), byCell);
    dirty.erase(std::unique(dirty.begin(), dirty.end()), dirty.end());
    std::vector<Problem> found;
    std::vector<qint32> here;
    for (const QPoint cell : dirty) {
        m_problems.removeCell(cell.x(), cell.y());
        plates.positionsAt(cell.x(), cell.y(), here);
        for (const qint32 p : here) {
            const TPoleStitek &s = plates.at(p);
            const auto group = m_groups.constFind(s.TEXT);
            if (!s.TEXT.isEmpty() && group != m_groups.cend() && group->size() >= 2)
                found.push_back(Problem{s.X, s.Y, p, m_kinds.idOf(s.NAME), ProblemCode::DuplicateText,
                                        std::nullopt, ListKind::Plates});
        }
        here.clear();
    }
    std::sort(found.begin(), found.end(), problemBefore);
    m_problems.insert(found);
}

}  // namespace kalmor
