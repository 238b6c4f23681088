#pragma once

#include "analysis/KindTable.h"
#include "analysis/Problems.h"
#include "document/StationDocument.h"

#include <QHash>
#include <QPoint>
#include <QString>

#include <vector>

namespace kalmor {

// Plates that share a non-empty text: every one of them is a
// "duplicate-text" warning at its cell (letter case and accents count, as
// the text is written on the panel). Texts are optional, so an empty one
// is no problem.
//
// update() follows single edits of the plate list from its change log:
// only the plates an edit touched, and the one other plate of a text that
// now has, or no longer has, a twin, are looked at again. A new station,
// a shift or a removal of many analyses every plate again.
class TextDuplicates {
public:
    void update(const StationData &doc);

    // Grows with every change of the result.
    quint64 revision() const { return m_revision; }
    const ProblemList &problems() const { return m_problems; }
    const QString &kindName(quint32 kind) const { return m_kinds[kind].name; }

private:
    void analyseAll(const ElementList<TPoleStitek> &plates);
    void follow(const ElementList<TPoleStitek> &plates, std::vector<qint32> &touched);
    void leave(qint32 position, std::vector<QPoint> &dirty);
    void enter(const ElementList<TPoleStitek> &plates, qint32 position, std::vector<QPoint> &dirty);
    void relist(const ElementList<TPoleStitek> &plates, std::vector<QPoint> &dirty);
    // The other plates of a text, when it has or had exactly two.
    void twinsOf(const QString &text, std::vector<QPoint> &dirty) const;

    const ElementList<TPoleStitek> *m_list = nullptr;
    quint64 m_listRevision = 0;
    // Each position's text and cell as last analysed.
    std::vector<QString> m_texts;
    std::vector<QPoint> m_cells;
    QHash<QString, std::vector<qint32>> m_groups;  // positions of each non-empty text
    ProblemList m_problems;
    KindTable m_kinds;
    quint64 m_revision = 0;
};

}  // namespace kalmor
