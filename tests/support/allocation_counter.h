// Counts the C library's allocations (operator new ends there too) made by the calling thread
// while a body runs. A test program that uses it links allocation_counter.cpp, which replaces
// malloc, calloc and realloc for the whole program.
#pragma once

#include <functional>

namespace allocation_counter {
long during(const std::function<void()>& body);
}
