#pragma once
// Counts heap allocations made through operator new in this process.
#include <cstdint>

namespace corvid::bench {
uint64_t AllocationCount();
}
