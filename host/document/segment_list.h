// A path's segments: up to four in the art record itself, more on the heap.
// Most paths of a drawing (rectangles, ellipses, lines, short strokes) have
// four or fewer, and the point tools and transforms read every selected
// path's segments on each drag step: kept in the record they come with the
// record's cache lines, where a heap block of their own is one more miss
// per object that nothing can fetch ahead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "hostapi.h"

namespace smear {

class SegmentList {
public:
    static constexpr uint32_t kInline = 4;

    SegmentList() = default;
    SegmentList(std::initializer_list<AIPathSegment> s) { assign(s.begin(), s.size()); }
    SegmentList(const SegmentList &o) { assign(o.data_, o.size_); }
    SegmentList(SegmentList &&o) noexcept { take(o); }
    SegmentList &operator=(const SegmentList &o) {
        if (this != &o) assign(o.data_, o.size_);
        return *this;
    }
    SegmentList &operator=(SegmentList &&o) noexcept {
        if (this != &o) {
            release();
            take(o);
        }
        return *this;
    }
    SegmentList &operator=(std::initializer_list<AIPathSegment> s) {
        assign(s.begin(), s.size());
        return *this;
    }
    ~SegmentList() { release(); }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    size_t capacity() const { return capacity_; }
    // Bytes held on the heap (none while the segments fit in the record).
    size_t heapBytes() const { return onHeap() ? capacity_ * sizeof(AIPathSegment) : 0; }

    AIPathSegment *data() { return data_; }
    const AIPathSegment *data() const { return data_; }
    AIPathSegment *begin() { return data_; }
    AIPathSegment *end() { return data_ + size_; }
    const AIPathSegment *begin() const { return data_; }
    const AIPathSegment *end() const { return data_ + size_; }
    AIPathSegment &operator[](size_t i) { return data_[i]; }
    const AIPathSegment &operator[](size_t i) const { return data_[i]; }
    AIPathSegment &front() { return data_[0]; }
    const AIPathSegment &front() const { return data_[0]; }
    AIPathSegment &back() { return data_[size_ - 1]; }
    const AIPathSegment &back() const { return data_[size_ - 1]; }

    void reserve(size_t n);
    void push_back(const AIPathSegment &s) {
        if (size_ == capacity_) reserve(size_t(capacity_) * 2);
        data_[size_++] = s;
    }
    // New segments are copies of `fill`.
    void resize(size_t n, const AIPathSegment &fill = AIPathSegment{});
    void clear() { size_ = 0; }
    void assign(const AIPathSegment *from, size_t n);

private:
    bool onHeap() const { return data_ != inline_; }
    void take(SegmentList &o) noexcept;
    void release() noexcept;

    // The segments first, so that they start where the list does (on a
    // cache line, in the art record).
    AIPathSegment inline_[kInline] = {};
    AIPathSegment *data_ = inline_;
    uint32_t size_ = 0;
    uint32_t capacity_ = kInline;
};

}  // namespace smear
