#include "art_arena.h"

#include <algorithm>
#include <new>

#include "document.h"

namespace smear {

namespace {

constexpr size_t kPerBlock = kArtsPerBlock;
static_assert(kPerBlock >= 64, "an art object is too large for the arena's blocks");

Art *at(Art *block, size_t i) { return reinterpret_cast<Art *>(reinterpret_cast<char *>(block) + i * kArtSlotBytes); }

}  // namespace

ArtArena::~ArtArena() { clear(); }

Art *ArtArena::slot() {
    if (size_ == blocks_.size() * kPerBlock) {
        void *raw = ::operator new(kBlockBytes, std::align_val_t(kBlockBytes));
        blocks_.push_back(static_cast<Art *>(raw));
        sorted_.insert(std::upper_bound(sorted_.begin(), sorted_.end(), uintptr_t(raw)), uintptr_t(raw));
    }
    return at(blocks_.back(), size_ % kPerBlock);
}

Art *ArtArena::create() {
    Art *a = new (slot()) Art();
    made();
    return a;
}

Art *ArtArena::create(const Art &from) {
    Art *a = new (slot()) Art(from);
    made();
    return a;
}

void ArtArena::made() {
    ++size_;
    if (lastFound_ == uintptr_t(blocks_.back())) lastFoundEnd_ += kArtSlotBytes;
}

Art *ArtArena::operator[](size_t i) const { return at(blocks_[i / kPerBlock], i % kPerBlock); }

bool ArtArena::findBlock(uintptr_t base) const {
    if (!std::binary_search(sorted_.begin(), sorted_.end(), base)) return false;
    lastFound_ = base;
    // Only the last block has slots past its objects.
    const size_t objects = base == uintptr_t(blocks_.back()) ? size_ - (blocks_.size() - 1) * kPerBlock : kPerBlock;
    lastFoundEnd_ = objects * kArtSlotBytes;
    return true;
}

void ArtArena::clear() { truncate(0); }

void ArtArena::truncate(size_t n) {
    if (n >= size_) return;
    for (size_t i = size_; i-- > n;) (*this)[i]->~Art();
    size_ = n;
    const size_t keep = (n + kPerBlock - 1) / kPerBlock;
    while (blocks_.size() > keep) {
        const uintptr_t gone = uintptr_t(blocks_.back());
        sorted_.erase(std::lower_bound(sorted_.begin(), sorted_.end(), gone));
        ::operator delete(static_cast<void *>(blocks_.back()), std::align_val_t(kBlockBytes));
        blocks_.pop_back();
    }
    lastFound_ = 1;
    lastFoundEnd_ = 0;
}

}  // namespace smear
