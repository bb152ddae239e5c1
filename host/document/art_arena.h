// Where a document's art objects live: blocks of a fixed size, aligned to
// that size, so that an object costs no allocation of its own and "is this
// address one of ours?" (which the host asks of every handle the plug-in
// passes) is arithmetic and a search among a few hundred blocks, not a
// lookup in a table of every object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace smear {

struct Art;

class ArtArena {
public:
    ArtArena() = default;
    ~ArtArena();
    ArtArena(const ArtArena &) = delete;
    ArtArena &operator=(const ArtArena &) = delete;

    // A new object, default-constructed or a copy; it lives until clear()
    // or the arena goes, at the same address.
    Art *create();
    Art *create(const Art &from);

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The objects in the order they were made.
    Art *operator[](size_t i) const;
    // Whether `p` is the address of one of the objects made here. Asked of
    // every handle the plug-in passes, so inline (document.h defines it,
    // where an object's size is known).
    inline bool contains(const void *p) const;
    // Whether `p` is an object of the block contains() found last: ours
    // without a search (the object itself may be disposed). A step asks
    // about the objects of a drawing one after another, mostly from one
    // block, so this answers nearly every first call about an object.
    inline bool inLastBlock(const void *p) const;
    // Whether `p` is the object contains() found last: ours, and alive.
    bool isLastFound(const void *p) const { return uintptr_t(p) == lastObject_; }
    // Destroys every object.
    void clear();
    // Destroys the objects made after the first `n` (the newest first) and
    // frees the blocks they alone used; their addresses are no longer ours.
    void truncate(size_t n);

    class iterator {
    public:
        iterator(const ArtArena *a, size_t i) : a_(a), i_(i) {}
        Art *operator*() const { return (*a_)[i_]; }
        iterator &operator++() {
            ++i_;
            return *this;
        }
        bool operator!=(const iterator &o) const { return i_ != o.i_; }

    private:
        const ArtArena *a_;
        size_t i_;
    };
    // Bytes of the blocks every arena of the program holds.
    static size_t blockBytes();

    iterator begin() const { return {this, 0}; }
    iterator end() const { return {this, size_}; }

    static constexpr size_t kBlockBytes = size_t(1) << 21;  // 2 MiB

private:
    Art *slot();
    void made();
    bool findBlock(uintptr_t base) const;
    std::vector<Art *> blocks_;      // in the order they were made
    std::vector<uintptr_t> sorted_;  // the blocks' addresses, ascending
    // The block contains() found last; 1 (no block's address) for none, so
    // that an address near zero is never taken for one in a block. With the
    // offset in it past its last object, so that a check costs two tests.
    mutable uintptr_t lastFound_ = 1;
    mutable uintptr_t lastFoundEnd_ = 0;
    // The object contains() found last (1 for none).
    mutable uintptr_t lastObject_ = 1;
    size_t size_ = 0;
};

}  // namespace smear
