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

// Memory of half a large page or more is rounded up to whole large pages,
// aligned to one and advised, so that all of it lies in large pages;
// smaller memory is plain.
void *allocateLarge(std::size_t bytes);
void freeLarge(void *data);

template <class T>
struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <class U>
    LargeAllocator(const LargeAllocator<U> &) {}
    T *allocate(std::size_t n) { return static_cast<T *>(allocateLarge(n * sizeof(T))); }
    void deallocate(T *p, std::size_t) { freeLarge(p); }
    friend bool operator==(const LargeAllocator &, const LargeAllocator &) { return true; }
};

// For the lists of a read and the tables of a cell index.
template <class T>
using LargeVector = std::vector<T, LargeAllocator<T>>;

// Makes room for n records in all; when it has to grow, the new memory is
// advised before the records move into it.
template <class T, class A>
void reserveLarge(std::vector<T, A> &all, std::size_t n)
{
    if (n <= all.capacity())
        return;
    std::vector<T, A> grown;
    grown.reserve(n);
    adviseLargePages(grown.data(), n * sizeof(T));
    std::move(all.begin(), all.end(), std::back_inserter(grown));
    all.swap(grown);
}

// n value-initialised elements in memory advised as above, for vectors
// that stay plain std::vector.
template <class T>
std::vector<T> largeVector(std::size_t n, const T &value = T())
{
    std::vector<T> v;
    reserveLarge(v, n);
    v.resize(n, value);
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
        void operator()(char *p) const { freeLarge(p); }
    };
    std::unique_ptr<char, Free> m_data;
    qsizetype m_size = 0;
};

}  // namespace kalmor
