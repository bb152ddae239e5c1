// Bounds-checked little-endian reading of resource data. Every read past the
// end throws FormatError, so a malformed file yields a message, never an
// over-read; the readers catch it at their public entry points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace smear {

struct FormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads a whole file; false with a message when it cannot be read.
bool readFileBytes(const std::string &path, std::vector<uint8_t> &out, std::string &error);

// Appends one code point as UTF-8.
void appendUtf8(std::string &out, uint32_t codePoint);
// UTF-16LE code units to UTF-8; unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(const std::vector<uint16_t> &units);

class ByteReader {
public:
    ByteReader(const uint8_t *data, size_t size, const char *what)
        : data_(data), size_(size), what_(what) {}
    explicit ByteReader(const std::vector<uint8_t> &bytes, const char *what)
        : ByteReader(bytes.data(), bytes.size(), what) {}

    size_t size() const { return size_; }
    size_t pos() const { return pos_; }
    size_t remaining() const { return size_ - pos_; }
    void seek(size_t pos) {
        if (pos > size_) fail("offset beyond the end");
        pos_ = pos;
    }
    void skip(size_t n) { seek(checkedEnd(n)); }
    // Moves to the next multiple of 4 from the start of the data, or to the
    // end when the padding is cut off (a last record need not be padded).
    void alignTo4() {
        size_t aligned = (pos_ + 3) & ~size_t(3);
        pos_ = aligned > size_ ? size_ : aligned;
    }

    uint8_t u8() { return data_[advance(1)]; }
    uint16_t u16() {
        size_t p = advance(2);
        return uint16_t(data_[p] | data_[p + 1] << 8);
    }
    uint32_t u32() {
        size_t p = advance(4);
        return uint32_t(data_[p]) | uint32_t(data_[p + 1]) << 8 | uint32_t(data_[p + 2]) << 16 |
               uint32_t(data_[p + 3]) << 24;
    }
    int16_t i16() { return int16_t(u16()); }
    const uint8_t *bytes(size_t n) { return data_ + advance(n); }

    // A zero-terminated UTF-16 string, as UTF-8.
    std::string utf16z() {
        std::vector<uint16_t> units;
        for (uint16_t u = u16(); u != 0; u = u16()) units.push_back(u);
        return utf16ToUtf8(units);
    }

    [[noreturn]] void fail(const std::string &why) const {
        throw FormatError(std::string(what_) + ": " + why + " (at byte " + std::to_string(pos_) + " of " +
                          std::to_string(size_) + ")");
    }

private:
    size_t checkedEnd(size_t n) const {
        if (n > size_ - pos_) fail("data cut off");
        return pos_ + n;
    }
    size_t advance(size_t n) {
        size_t p = pos_;
        pos_ = checkedEnd(n);
        return p;
    }

    const uint8_t *data_;
    size_t size_;
    size_t pos_ = 0;
    const char *what_;
};

}  // namespace smear
