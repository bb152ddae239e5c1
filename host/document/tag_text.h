// A tag's value as an object keeps it: up to fifteen bytes inside (every
// value the plug-in writes, and any number), longer ones on the heap. It
// takes sixteen bytes, half a std::string, so that an object's first tag
// fits the cache line of its bounds and type: a drag step over an object
// the brush does not reach then reads that one line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace smear {

class TagText {
public:
    TagText() { setInline({}); }
    explicit TagText(std::string_view s) { init(s); }
    TagText(const TagText &o) { init(o.view()); }
    TagText(TagText &&o) noexcept {
        std::memcpy(bytes_, o.bytes_, sizeof bytes_);
        o.setInline({});
    }
    TagText &operator=(const TagText &o) {
        if (this != &o) assign(o.view());
        return *this;
    }
    TagText &operator=(TagText &&o) noexcept {
        if (this != &o) {
            release();
            std::memcpy(bytes_, o.bytes_, sizeof bytes_);
            o.setInline({});
        }
        return *this;
    }
    ~TagText() { release(); }

    size_t size() const { return onHeap() ? heapSize() : kInline - size_t(mark()); }
    bool empty() const { return size() == 0; }
    // NUL-terminated.
    const char *data() const { return onHeap() ? heapData() : bytes_; }
    const char *c_str() const { return data(); }
    std::string_view view() const { return {data(), size()}; }
    operator std::string_view() const { return view(); }
    std::string str() const { return std::string(view()); }

    // `s` may be a view of this text.
    void assign(std::string_view s) {
        TagText fresh(s);
        *this = std::move(fresh);
    }

    friend bool operator==(const TagText &a, const TagText &b) { return a.view() == b.view(); }
    friend bool operator!=(const TagText &a, const TagText &b) { return !(a == b); }
    friend bool operator==(const TagText &a, std::string_view b) { return a.view() == b; }
    friend bool operator!=(const TagText &a, std::string_view b) { return a.view() != b; }
    friend bool operator==(std::string_view a, const TagText &b) { return a == b.view(); }
    friend bool operator!=(std::string_view a, const TagText &b) { return a != b.view(); }

private:
    static constexpr size_t kInline = 15;
    // The last byte: for a text inside, 15 minus its size (so that a text
    // of fifteen bytes ends in its own NUL); kHeap for one on the heap,
    // whose pointer the first bytes hold and whose size bytes 8 to 14.
    static constexpr unsigned char kHeap = 0xFF;

    unsigned char mark() const { return static_cast<unsigned char>(bytes_[kInline]); }
    bool onHeap() const { return mark() == kHeap; }
    char *heapData() const {
        char *p;
        std::memcpy(&p, bytes_, sizeof p);
        return p;
    }
    size_t heapSize() const {
        uint64_t n = 0;
        for (size_t i = 0; i < 7; ++i) n |= uint64_t(static_cast<unsigned char>(bytes_[8 + i])) << (8 * i);
        return size_t(n);
    }
    void setInline(std::string_view s) {
        if (!s.empty()) std::memcpy(bytes_, s.data(), s.size());
        std::memset(bytes_ + s.size(), 0, kInline - s.size());
        bytes_[kInline] = static_cast<char>(kInline - s.size());
    }
    void init(std::string_view s) {
        if (s.size() <= kInline) {
            setInline(s);
            return;
        }
        char *p = new char[s.size() + 1];
        std::memcpy(p, s.data(), s.size());
        p[s.size()] = '\0';
        std::memcpy(bytes_, &p, sizeof p);
        const uint64_t n = s.size();
        for (size_t i = 0; i < 7; ++i) bytes_[8 + i] = static_cast<char>(n >> (8 * i));
        bytes_[kInline] = static_cast<char>(kHeap);
    }
    void release() {
        if (onHeap()) delete[] heapData();
    }

    char bytes_[16];
};

}  // namespace smear
