// A bump allocator for the keyed store. Allocation moves a pointer; nothing is freed one by one.
// rewind() makes all memory reusable for the next record while keeping the blocks, so a host
// that builds one chart after another reuses warm memory instead of faulting in fresh pages for
// every document. Blocks beyond a retention limit are given back at the rewind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace plotara {

class BumpArena final {
public:
    // retainBytes: how much memory a rewind keeps for reuse.
    explicit BumpArena(std::size_t retainBytes = std::size_t{64} << 20)
        : retainBytes_(retainBytes) {}
    BumpArena(const BumpArena&) = delete;
    BumpArena& operator=(const BumpArena&) = delete;

    // Makes every block reusable; objects allocated before are gone without their destructors
    // running, so only objects whose memory all comes from this arena may live here.
    void rewind() noexcept;
    // The allocation itself, inline for the common case of room in the current block; the store
    // Throws std::bad_alloc when memory runs out.
    void* allocateBytes(std::size_t bytes, std::size_t alignment) {
        const std::uintptr_t start = (next_ + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
        if (start + bytes <= end_ && start != 0) {
            next_ = start + bytes;
            return reinterpret_cast<void*>(start);
        }
        return allocateSlow(bytes, alignment);
    }
    std::size_t reservedBytes() const noexcept { return reserved_; }

private:
    struct Block {
        std::unique_ptr<std::byte[]> memory;
        std::size_t size;
    };

    // Finds room in a later block or adds a block; the case the inline path does not cover.
    void* allocateSlow(std::size_t bytes, std::size_t alignment);

    std::vector<Block> blocks_;
    std::size_t current_ = 0; // index of the block being filled
    // The free part of that block: [next_, end_); both 0 before the first block.
    std::uintptr_t next_ = 0;
    std::uintptr_t end_ = 0;
    std::size_t reserved_ = 0;
    std::size_t retainBytes_;
};

} // namespace plotara
