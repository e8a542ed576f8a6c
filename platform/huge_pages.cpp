#include "platform/huge_pages.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#endif

namespace tarno {

void BackTheHeapWithHugePages(std::size_t reserve) {
#if defined(__linux__) && defined(__GLIBC__)
  constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
  // One heap for every thread, grown in one step and never given back, so
  // that the advice below covers what the threads allocate.
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_TOP_PAD, static_cast<int>(reserve));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(reserve));
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
  constexpr std::size_t kBlock = 1 << 20;
  void* block = std::malloc(kBlock);  // more than the heap has free: it grows by `reserve`
  const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
  const auto at = reinterpret_cast<std::uintptr_t>(block);
  // Only when the block made the program break grow (not when it came from
  // a sanitizer's own allocator, nor from a mapping of its own).
  if (block && after > before && at < after && at + kBlock <= after) {
    const std::uintptr_t begin = (before + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t end = after & ~(kHuge - 1);
    if (begin < end) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  }
  std::free(block);
#else
  (void)reserve;
#endif
}

}  // namespace tarno
