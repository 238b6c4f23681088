#include "render/index/IndexNames.h"

namespace kalmor::detail {

quint32 IndexNames::lookUp(const Key &key, const QString &name)
{
    auto it = m_byStorage.constFind(key);
    if (it != m_byStorage.cend())
        return *it;
    // Only a cache: strings edited one by one may each bring storage of
    // their own.
    if (m_held.size() >= HeldLimit)
        forgetStorage();
    auto text = m_byText.constFind(name);
    if (text == m_byText.cend()) {
        text = m_byText.insert(name, quint32(m_names.size()));
        m_names.push_back(name);
    }
    m_held.push_back(name);
    return *m_byStorage.insert(key, *text);
}

void IndexNames::forgetStorage()
{
    m_byStorage.clear();
    m_recent.fill(Slot{});
    m_held.clear();
}

}  // namespace kalmor::detail
