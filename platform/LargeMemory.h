#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

namespace trv {

// A region of memory for a store of hundreds of megabytes (a large installation's month of codes), taken from
// the system directly and in large pages where the system offers them: filled 4 KB at a time, such a store spends
// as long taking its pages as reading the files it is filled from. The region reads as zeros until written, and
// only the pages written are taken from the system. Small regions come from the heap.
class LargeMemory {
public:
    LargeMemory() = default;
    // Throws std::bad_alloc when the system has no room.
    explicit LargeMemory(size_t bytes);
    ~LargeMemory();
    LargeMemory(LargeMemory&& other) noexcept;
    LargeMemory& operator=(LargeMemory&& other) noexcept;
    LargeMemory(const LargeMemory&) = delete;
    LargeMemory& operator=(const LargeMemory&) = delete;

    char* data() const { return m_data; }
    size_t size() const { return m_size; }

private:
    void release() noexcept;

    char* m_data = nullptr;
    size_t m_size = 0;
    bool m_mapped = false;
};

// Takes the pages of large regions from the system ahead of the code that fills them, on a thread of its own:
// a page's first write can cost more than the work of filling it (the system clears it, and a virtual machine's
// host may have to find it first), and the filling need not wait for that. The pages are only mapped, never
// written, so a page the filler reaches first loses nothing. Where the system cannot do this, nothing is done.
class PagesAhead {
public:
    PagesAhead() = default;
    ~PagesAhead();
    PagesAhead(const PagesAhead&) = delete;
    PagesAhead& operator=(const PagesAhead&) = delete;

    // Asks for the pages of [from, from + length); returns at once.
    void request(char* from, size_t length);
    // Drops the requests not yet served and waits for the one in progress: before a region is given back.
    void settle();

private:
    struct Range {
        char* from;
        size_t length;
    };
    void serve();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Range> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    bool m_unsupported = false;
    std::thread m_thread;
};

} // namespace trv
