#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <vector>

namespace kalmor {

// A station of a million elements fills tens of megabytes at once, and a
// fresh page costs the kernel a fault on first touch: in 4 KiB pages that
// is most of a read. Memory of that size asks for 2 MiB pages instead,
// before anything is written to it. Only a hint: nothing changes where the
// system does not give them.
inline constexpr std::size_t LargePage = std::size_t(2) << 20;

// Asks for large pages over the whole large pages lying in the range.
void adviseLargePages(const void *data, std::size_t bytes);

// Makes room for n records in all; when it has to grow, the new memory is
// advised before the records move into it.
template <class T>
void reserveLarge(std::vector<T> &all, std::size_t n)
{
    if (n <= all.capacity())
        return;
    std::vector<T> grown;
    grown.reserve(n);
    adviseLargePages(grown.data(), n * sizeof(T));
    std::move(all.begin(), all.end(), std::back_inserter(grown));
    all.swap(grown);
}

// n copies of value in memory advised before they are written.
template <class T>
std::vector<T> largeVector(std::size_t n, const T &value = T())
{
    std::vector<T> v;
    reserveLarge(v, n);
    v.assign(n, value);
    return v;
}

// Bytes aligned to a large page, so that all of them can lie in large
// pages; left uninitialised.
class LargeBuffer {
public:
    LargeBuffer() = default;
    explicit LargeBuffer(qsizetype size);

    char *data() const { return m_data.get(); }
    qsizetype size() const { return m_size; }

private:
    struct Free {
        void operator()(char *p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> m_data;
    qsizetype m_size = 0;
};

}  // namespace kalmor
