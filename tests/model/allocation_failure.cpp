#include "allocation_failure.h"

#include <cstdlib>
#include <new>

namespace {

// 0: allocations succeed as usual.
thread_local std::size_t t_failFromSize = 0;

void* Allocate(std::size_t size)
{
    if (t_failFromSize != 0 && size >= t_failFromSize) {
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace tavrix::testing {

ScopedAllocationFailure::ScopedAllocationFailure(std::size_t fromSize)
{
    t_failFromSize = fromSize;
}

ScopedAllocationFailure::~ScopedAllocationFailure()
{
    t_failFromSize = 0;
}

} // namespace tavrix::testing
