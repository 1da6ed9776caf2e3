#include "platform/LargeMemory.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace trv {

namespace {

// Below this a region comes from the heap, which hands freed memory out again without asking the system.
constexpr size_t kMappedFrom = size_t(4) << 20;
// The size of a large page, to which a mapped region is aligned so that every page of it can be one.
constexpr size_t kLargePage = size_t(2) << 20;

} // namespace

LargeMemory::LargeMemory(size_t bytes) : m_size(bytes) {
    if (bytes == 0)
        return;
#ifdef __linux__
    if (bytes >= kMappedFrom) {
        // Mapped a large page over and cut to an aligned start, the rest given back.
        const size_t length = (bytes + kLargePage - 1) / kLargePage * kLargePage;
        void* mapped = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        const auto start = reinterpret_cast<std::uintptr_t>(mapped);
        const std::uintptr_t aligned = (start + kLargePage - 1) / kLargePage * kLargePage;
        if (aligned > start)
            munmap(mapped, aligned - start);
        if (const size_t after = kLargePage - (aligned - start); after > 0)
            munmap(reinterpret_cast<void*>(aligned + length), after);
        m_data = reinterpret_cast<char*>(aligned);
        m_size = length;
        m_mapped = true;
        // Advice only: where large pages are not to be had the region works in small ones.
        (void)madvise(m_data, length, MADV_HUGEPAGE);
        return;
    }
#endif
    m_data = static_cast<char*>(std::calloc(bytes, 1));
    if (!m_data)
        throw std::bad_alloc();
}

LargeMemory::~LargeMemory() {
    release();
}

LargeMemory::LargeMemory(LargeMemory&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, false)) {}

LargeMemory& LargeMemory::operator=(LargeMemory&& other) noexcept {
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, false);
    }
    return *this;
}

void LargeMemory::release() noexcept {
    if (!m_data)
        return;
#ifdef __linux__
    if (m_mapped) {
        munmap(m_data, m_size);
        m_data = nullptr;
        return;
    }
#endif
    std::free(m_data);
    m_data = nullptr;
}

PagesAhead::~PagesAhead() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_pending.clear();
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void PagesAhead::request(char* from, size_t length) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (length == 0)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(from);
    const std::uintptr_t page = start & ~std::uintptr_t(4095);
    from = reinterpret_cast<char*>(page);
    length += start - page;
    {
        std::lock_guard lock(m_mutex);
        if (m_unsupported || m_stop)
            return;
        m_pending.push_back({from, length});
        if (!m_thread.joinable())
            m_thread = std::thread([this] { serve(); });
    }
    m_changed.notify_all();
#else
    (void)from;
    (void)length;
#endif
}

void PagesAhead::settle() {
    std::unique_lock lock(m_mutex);
    m_pending.clear();
    m_changed.wait(lock, [this] { return !m_busy; });
}

void PagesAhead::serve() {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    // A large page at a time, so that settle() waits for one at most.
    constexpr size_t kStep = kLargePage;
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_stop || !m_pending.empty(); });
        if (m_stop)
            return;
        Range& next = m_pending.front();
        const size_t length = std::min(next.length, kStep);
        char* const from = next.from;
        next.from += length;
        next.length -= length;
        if (next.length == 0)
            m_pending.erase(m_pending.begin());
        m_busy = true;
        lock.unlock();
        const bool done = madvise(from, length, MADV_POPULATE_WRITE) == 0 || errno != EINVAL;
        lock.lock();
        m_busy = false;
        if (!done) {
            m_unsupported = true;
            m_pending.clear();
        }
        m_changed.notify_all();
    }
#endif
}

} // namespace trv
