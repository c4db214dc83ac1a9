#include "support/allocation_counter.h"

#include <cstddef>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
}

namespace {

thread_local bool armed = false;
thread_local long allocations = 0;

void noteAllocation()
{
    if (armed)
        ++allocations;
}

} // namespace

long allocation_counter::during(const std::function<void()>& body)
{
    allocations = 0;
    armed = true;
    body();
    armed = false;
    return allocations;
}

extern "C" void* malloc(size_t size)
{
    noteAllocation();
    return __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size)
{
    noteAllocation();
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* pointer, size_t size)
{
    noteAllocation();
    return __libc_realloc(pointer, size);
}
