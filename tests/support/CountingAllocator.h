#pragma once

// Replaces the global operator new of a test program to count the bytes in use and
// their peak, and to refuse allocations beyond a limit (so that a reader that blows
// up fails fast with bad_alloc instead of taking the machine's memory).
// Include it in exactly one source file of a test program.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace kumby::testing {

struct TAllocationCounter {
    static inline std::atomic<std::size_t> Live{0};
    static inline std::atomic<std::size_t> Peak{0};
    static inline std::atomic<std::size_t> Limit{SIZE_MAX};

    // Peak measured from now, allocations limited to `extra` bytes above what is in use.
    static std::size_t Start(std::size_t extra) {
        const std::size_t now = Live.load();
        Peak.store(now);
        Limit.store(now + extra);
        return now;
    }
    static void Stop() { Limit.store(SIZE_MAX); }
};

namespace detail {

inline constexpr std::size_t CountHeader = alignof(std::max_align_t);

// Not inlined: the compiler would otherwise pair malloc and new across the seam and warn.
[[gnu::noinline]] inline void* CountedAlloc(std::size_t n) noexcept {
    const std::size_t live = TAllocationCounter::Live.fetch_add(n) + n;
    if (live > TAllocationCounter::Limit.load()) {
        TAllocationCounter::Live.fetch_sub(n);
        return nullptr;
    }
    std::size_t peak = TAllocationCounter::Peak.load();
    while (live > peak && !TAllocationCounter::Peak.compare_exchange_weak(peak, live)) {
    }
    void* base = std::malloc(n + CountHeader);
    if (!base) {
        TAllocationCounter::Live.fetch_sub(n);
        return nullptr;
    }
    *static_cast<std::size_t*>(base) = n;
    return static_cast<char*>(base) + CountHeader;
}

[[gnu::noinline]] inline void CountedFree(void* p) noexcept {
    if (!p)
        return;
    char* base = static_cast<char*>(p) - CountHeader;
    TAllocationCounter::Live.fetch_sub(*reinterpret_cast<std::size_t*>(base));
    std::free(base);
}

} // namespace detail
} // namespace kumby::testing

void* operator new(std::size_t n) {
    if (void* p = kumby::testing::detail::CountedAlloc(n))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    if (void* p = kumby::testing::detail::CountedAlloc(n))
        return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    return kumby::testing::detail::CountedAlloc(n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    return kumby::testing::detail::CountedAlloc(n);
}
void operator delete(void* p) noexcept {
    kumby::testing::detail::CountedFree(p);
}
void operator delete[](void* p) noexcept {
    kumby::testing::detail::CountedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    kumby::testing::detail::CountedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    kumby::testing::detail::CountedFree(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    kumby::testing::detail::CountedFree(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    kumby::testing::detail::CountedFree(p);
}
