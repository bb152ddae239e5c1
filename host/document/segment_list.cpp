#include "segment_list.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace smear {

void SegmentList::reserve(size_t n) {
    if (n <= capacity_) return;
    if (n > std::numeric_limits<uint32_t>::max()) throw std::length_error("too many path segments");
    auto *grown = static_cast<AIPathSegment *>(::operator new(n * sizeof(AIPathSegment)));
    std::memcpy(grown, data_, size_ * sizeof(AIPathSegment));
    release();
    data_ = grown;
    capacity_ = uint32_t(n);
}

void SegmentList::resize(size_t n, const AIPathSegment &fill) {
    if (n > capacity_) reserve(std::max(n, size_t(capacity_) * 2));
    std::fill(data_ + std::min(n, size_t(size_)), data_ + n, fill);
    size_ = uint32_t(n);
}

void SegmentList::assign(const AIPathSegment *from, size_t n) {
    if (n > capacity_) {
        release();  // what is held need not be kept
        size_ = 0;
        reserve(n);
    }
    if (n > 0) std::memmove(data_, from, n * sizeof(AIPathSegment));
    size_ = uint32_t(n);
}

void SegmentList::take(SegmentList &o) noexcept {
    size_ = o.size_;
    if (o.onHeap()) {
        data_ = o.data_;
        capacity_ = o.capacity_;
    } else {
        data_ = inline_;
        capacity_ = kInline;
        std::memcpy(inline_, o.inline_, size_ * sizeof(AIPathSegment));
    }
    o.data_ = o.inline_;
    o.size_ = 0;
    o.capacity_ = kInline;
}

void SegmentList::release() noexcept {
    if (onHeap()) ::operator delete(data_);
    data_ = inline_;
    capacity_ = kInline;
}

}  // namespace smear
