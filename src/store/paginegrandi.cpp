#include "store/paginegrandi.h"

#include <sys/mman.h>

#include <cstdint>

namespace brenzola {

void pagineGrandi(const void* data, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    // Only the whole large pages inside the buffer: its edges may belong to other allocations.
    constexpr uintptr_t kPagina = uintptr_t(2) << 20;
    const auto inizio = reinterpret_cast<uintptr_t>(data);
    const uintptr_t da = (inizio + kPagina - 1) & ~(kPagina - 1);
    const uintptr_t a = (inizio + bytes) & ~(kPagina - 1);
    if (a > da) madvise(reinterpret_cast<void*>(da), a - da, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

}  // namespace brenzola
