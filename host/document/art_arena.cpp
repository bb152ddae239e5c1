#include "art_arena.h"

#include <algorithm>
#include <atomic>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "document.h"

namespace smear {

namespace {

constexpr size_t kPerBlock = kArtsPerBlock;
static_assert(kPerBlock >= 64, "an art object is too large for the arena's blocks");

Art *at(Art *block, size_t i) { return reinterpret_cast<Art *>(reinterpret_cast<char *>(block) + i * kArtSlotBytes); }

std::atomic<size_t> g_blockBytes{0};

constexpr size_t kBlock = ArtArena::kBlockBytes;

// A block aligned to its size. On Linux it is mapped on its own and asked
// to be one huge page: a stroke visits every object of a large drawing,
// and with small pages nearly every visit would miss the address cache.
// (The heap would hand out such a block from a mapping twice its size.)
void *allocateBlock() {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    void *mapped = mmap(nullptr, 2 * kBlock, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const uintptr_t start = uintptr_t(mapped);
    const uintptr_t block = (start + kBlock - 1) & ~uintptr_t(kBlock - 1);
    if (block > start) munmap(mapped, block - start);
    if (start + 2 * kBlock > block + kBlock) munmap(reinterpret_cast<void *>(block + kBlock), start + kBlock - block);
    madvise(reinterpret_cast<void *>(block), kBlock, MADV_HUGEPAGE);
    void *raw = reinterpret_cast<void *>(block);
#else
    void *raw = ::operator new(kBlock, std::align_val_t(kBlock));
#endif
    g_blockBytes += kBlock;
    return raw;
}

void freeBlock(void *block) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    munmap(block, kBlock);
#else
    ::operator delete(block, std::align_val_t(kBlock));
#endif
    g_blockBytes -= kBlock;
}

}  // namespace

ArtArena::~ArtArena() { clear(); }

size_t ArtArena::blockBytes() { return g_blockBytes; }

Art *ArtArena::slot() {
    if (size_ == blocks_.size() * kPerBlock) {
        void *raw = allocateBlock();
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
        freeBlock(blocks_.back());
        blocks_.pop_back();
    }
    lastFound_ = 1;
    lastFoundEnd_ = 0;
    lastObject_ = 1;
}

}  // namespace smear
