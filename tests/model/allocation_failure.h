#pragma once

#include <cstddef>

namespace tavrix::testing {

// While one lives, every operator new on this thread of a block of at least the given size throws
// std::bad_alloc, as it would with memory short. The binary that links allocation_failure.cpp
// routes its operator new and delete through malloc and free for this.
class ScopedAllocationFailure {
public:
    explicit ScopedAllocationFailure(std::size_t fromSize);
    ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;
    ~ScopedAllocationFailure();
};

} // namespace tavrix::testing
