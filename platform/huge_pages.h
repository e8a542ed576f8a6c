// Backing the heap with huge pages where the system lets a program ask for
// them. A run over a large project touches a few hundred megabytes once; on
// virtual machines each first touch of a 4 KB page is costly, and the
// page faults can take as long as the work itself. Memory use is unchanged
// but for rounding to 2 MB.
#pragma once

#include <cstddef>

namespace tarno {

// Grows the main heap by `reserve` bytes of address space at once (nothing is
// touched), keeps it, and asks for transparent huge pages there. Does
// nothing where that cannot be asked for (another C library, a sanitizer's
// allocator, Windows). Call it first thing in main, before any thread starts.
void BackTheHeapWithHugePages(std::size_t reserve);

}  // namespace tarno
