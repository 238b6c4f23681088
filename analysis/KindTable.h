#pragma once

#include "catalogue/ElementKinds.h"

#include <QHash>
#include <QString>

#include <array>
#include <vector>

namespace kalmor {

// What the analysis needs to know about one element name.
struct KindFacts {
    QString name;
    // Border points of a track tile that is drawn; empty for anything else.
    BorderPoints points;
    // For a track-circuit boundary, the point of its second side (the
    // other point is its first side); empty for every other kind.
    BorderPoints secondSide;
    // Nothing is drawn for the name: it is no kind of the catalogue
    // (letter case aside, as the picture lookup does) or its prefix is
    // not one of the class prefixes (compared with letter case, as the
    // renderer does), nor is it a corner piece.
    bool unknown = false;
    // The list the kind belongs in: a desk kind on another list, or any
    // other name on the desk list, is drawn by no rule of its list.
    bool desk = false;
    // A desk element that asks for a designation (a signal, a switch
    // controller, a route button), and one that stands beside track (a
    // signal).
    bool needsDesignation = false;
    bool signal = false;
};

// The names met so far, each with its facts, under a small number that
// stays valid until clear().
class KindTable {
public:
    quint32 idOf(const QString &name);
    const KindFacts &operator[](quint32 id) const { return m_facts[id]; }
    void clear();

    static KindFacts factsOf(const QString &name);

private:
    // Names read from a file share their text, so most lookups are
    // answered by the text's address before any hashing. The copy kept
    // here holds that text alive, so the address cannot come back with
    // other letters.
    struct Recent {
        QString name;
        quint32 id = 0;
    };

    QHash<QString, quint32> m_ids;
    std::vector<KindFacts> m_facts;
    std::array<Recent, 64> m_recent;
};

}  // namespace kalmor
