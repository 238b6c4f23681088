#pragma once

#include <QHash>
#include <QString>

#include <array>
#include <cstddef>
#include <vector>

namespace kalmor::detail {

// Kind names by number, for the cell index. Records read from a file or
// placed with one kind share their string's storage, so the storage finds
// a name's number without hashing its text; the text finds it for every
// other copy. Every name is held here, so no storage it is keyed by can be
// freed and reused while the table lives.
class IndexNames {
public:
    quint32 operator()(const QString &name)
    {
        const Key key{name.constData(), name.size()};
        Slot &slot = m_recent[(reinterpret_cast<quintptr>(key.data) >> 4) % m_recent.size()];
        if (slot.key == key)
            return slot.id;
        slot = Slot{key, lookUp(key, name)};
        return slot.id;
    }

    const QString &at(quint32 id) const { return m_names[id]; }
    quint32 count() const { return quint32(m_names.size()); }

private:
    static constexpr std::size_t HeldLimit = 65536;

    struct Key {
        const QChar *data = nullptr;
        qsizetype size = -1;
        friend bool operator==(const Key &, const Key &) = default;
        friend std::size_t qHash(const Key &k, std::size_t seed = 0) noexcept
        {
            return qHashMulti(seed, k.data, k.size);
        }
    };
    struct Slot {
        Key key;
        quint32 id = 0;
    };

    quint32 lookUp(const Key &key, const QString &name);
    void forgetStorage();

    std::vector<QString> m_names;
    QHash<QString, quint32> m_byText;
    QHash<Key, quint32> m_byStorage;
    std::vector<QString> m_held;  // keeps every keyed storage alive
    std::array<Slot, 256> m_recent;
};

}  // namespace kalmor::detail
