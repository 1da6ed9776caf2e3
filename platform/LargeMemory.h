#pragma once

#include <cstddef>

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

} // namespace trv
