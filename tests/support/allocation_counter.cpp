#include "support/allocation_counter.h"

#include <cstddef>

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

#if defined(__SANITIZE_ADDRESS__)

// The address sanitizer owns malloc and its kin, so they cannot be replaced; its allocator calls
// these hooks on every allocation instead (operator new included).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, size_t),
                                                        void (*onFree)(const volatile void*));

namespace {

void onMalloc(const volatile void*, size_t) { noteAllocation(); }
void onFree(const volatile void*) {}
const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);

} // namespace

#else

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
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

#endif
