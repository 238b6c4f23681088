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

LargeBuffer::LargeBuffer(qsizetype size) : m_size(size)
{
    const std::size_t bytes = std::size_t(std::max<qsizetype>(size, 1));
    if (bytes < LargePage) {
        m_data.reset(static_cast<char *>(std::malloc(bytes)));
    } else {
        // Rounded up to whole large pages, as aligned_alloc wants.
        const std::size_t rounded = (bytes + LargePage - 1) & ~(LargePage - 1);
        m_data.reset(static_cast<char *>(std::aligned_alloc(LargePage, rounded)));
        adviseLargePages(m_data.get(), rounded);
    }
    if (!m_data)
        throw std::bad_alloc();
}

}  // namespace kalmor
