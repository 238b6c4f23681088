#pragma once

#include <cstddef>
#include <vector>

namespace kalmor {

// Memory for large buffers is asked for in huge pages where the system
// offers them: the first touch of a hundred megabytes in ordinary pages
// costs tens of thousands of page faults, which on a virtual machine take
// far longer than the work done in the buffer. Small buffers are left as
// they are.
void adviseHugePages(const void *data, std::size_t bytes);

// Room for n elements, advised as above before anything is written there.
template <class T>
void reserveLarge(std::vector<T> &v, std::size_t n)
{
    v.reserve(n);
    adviseHugePages(v.data(), v.capacity() * sizeof(T));
}

// n value-initialised elements in advised memory.
template <class T>
std::vector<T> largeVector(std::size_t n, const T &value = T())
{
    std::vector<T> v;
    reserveLarge(v, n);
    v.resize(n, value);
    return v;
}

}  // namespace kalmor
