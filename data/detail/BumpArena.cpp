#include "data/detail/BumpArena.h"

#include <algorithm>
#include <cstdint>

namespace plotara {

void* BumpArena::allocateSlow(std::size_t bytes, std::size_t alignment) {
    while (current_ < blocks_.size()) {
        Block& block = blocks_[current_];
        const auto base = reinterpret_cast<std::uintptr_t>(block.memory.get());
        if (next_ == 0) next_ = base; // entering this block
        const std::uintptr_t start = (next_ + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
        if (start + bytes <= base + block.size) {
            next_ = start + bytes;
            end_ = base + block.size;
            return reinterpret_cast<void*>(start);
        }
        ++current_; // the rest of this block stays unused until the next rewind
        next_ = end_ = 0;
    }
    // A new block: at least twice the last one, and big enough for this request.
    const std::size_t last = blocks_.empty() ? std::size_t{32} << 10 : blocks_.back().size;
    const std::size_t size = std::max(last * 2, bytes + alignment);
    blocks_.push_back(Block{std::unique_ptr<std::byte[]>(new std::byte[size]), size});
    reserved_ += size;
    current_ = blocks_.size() - 1;
    next_ = end_ = 0;
    return allocateSlow(bytes, alignment);
}

void BumpArena::rewind() noexcept {
    // Keep the oldest blocks up to the retention limit, give the rest back.
    std::size_t kept = 0, keep = 0;
    while (keep < blocks_.size() && kept + blocks_[keep].size <= retainBytes_)
        kept += blocks_[keep++].size;
    blocks_.resize(keep);
    reserved_ = kept;
    current_ = 0;
    next_ = 0;
    end_ = 0;
}

} // namespace plotara
