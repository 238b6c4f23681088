#include "document/LargeMemory.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace kalmor {

void adviseLargePages(const void *data, std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + LargePage - 1) & ~std::uintptr_t(LargePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~std::uintptr_t(LargePage - 1);
    if (data && end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

void *allocateLarge(std::size_t bytes)
{
    void *p = nullptr;
    if (bytes < LargePage / 2) {
        p = std::malloc(std::max<std::size_t>(bytes, 1));
    } else {
        // Rounded up to whole large pages, as aligned_alloc wants.
        const std::size_t rounded = (bytes + LargePage - 1) & ~(LargePage - 1);
        p = std::aligned_alloc(LargePage, rounded);
        adviseLargePages(p, rounded);
    }
    if (!p)
        throw std::bad_alloc();
    return p;
}

void freeLarge(void *data)
{
    std::free(data);
}

LargeBuffer::LargeBuffer(qsizetype size)
    : m_data(static_cast<char *>(allocateLarge(std::size_t(std::max<qsizetype>(size, 1))))), m_size(size)
{
}

}  // namespace kalmor
