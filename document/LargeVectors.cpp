#include "document/LargeVectors.h"

#include <cstdint>
#include <sys/mman.h>

namespace kalmor {

void adviseHugePages(const void *data, std::size_t bytes)
{
    constexpr std::uintptr_t Huge = std::uintptr_t(2) << 20;
    // Below a few huge pages the call costs more than it saves.
    if (data == nullptr || bytes < 4 * Huge)
        return;
    // Only whole huge pages inside the buffer: the memory around it may
    // belong to others.
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + Huge - 1) & ~(Huge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(Huge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace kalmor
