#include "svg_numbers.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace smear::svg {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

void Scanner::skipSpace() {
    while (!atEnd() && isSpace(text_[pos_])) ++pos_;
}

void Scanner::skipCommaSpace() {
    skipSpace();
    if (peek() == ',') {
        ++pos_;
        skipSpace();
    }
}

bool Scanner::atNumber() const {
    if (atEnd()) return false;
    const char c = text_[pos_];
    if (isDigit(c)) return true;
    const size_t n = text_.size();
    if (c == '.') return pos_ + 1 < n && isDigit(text_[pos_ + 1]);
    if (c == '+' || c == '-') {
        if (pos_ + 1 >= n) return false;
        const char d = text_[pos_ + 1];
        return isDigit(d) || (d == '.' && pos_ + 2 < n && isDigit(text_[pos_ + 2]));
    }
    return false;
}

bool Scanner::number(double &out) {
    if (!atNumber()) return false;
    size_t i = pos_;
    const size_t n = text_.size();
    bool negative = false;
    if (text_[i] == '+' || text_[i] == '-') negative = text_[i++] == '-';
    const size_t start = i;
    while (i < n && isDigit(text_[i])) ++i;
    if (i < n && text_[i] == '.' && i + 1 < n && isDigit(text_[i + 1])) {
        ++i;
        while (i < n && isDigit(text_[i])) ++i;
    } else if (i < n && text_[i] == '.' && i > start) {
        ++i;  // "5." is five
    }
    // An exponent only when digits follow it, so "2em" stays a length.
    if (i < n && (text_[i] == 'e' || text_[i] == 'E')) {
        size_t j = i + 1;
        if (j < n && (text_[j] == '+' || text_[j] == '-')) ++j;
        if (j < n && isDigit(text_[j])) {
            while (j < n && isDigit(text_[j])) ++j;
            i = j;
        }
    }
    double value = 0;
    const char *first = text_.data() + start;
    const char *last = text_.data() + i;
    auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond a double: a negative exponent means nearly zero, else
        // infinite, which no reader takes for a number it can keep.
        const std::string_view digits(first, size_t(last - first));
        const size_t e = digits.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (result.ec != std::errc() || result.ptr != last) {
        return false;
    }
    out = negative ? -value : value;
    pos_ = i;
    return true;
}

bool Scanner::flag(bool &out) {
    const char c = peek();
    if (c != '0' && c != '1') return false;
    out = c == '1';
    ++pos_;
    return true;
}

bool parseNumber(std::string_view text, double &out) {
    Scanner s(text);
    s.skipSpace();
    if (!s.number(out)) return false;
    s.skipSpace();
    return s.atEnd();
}

bool parseNumberList(std::string_view text, std::vector<double> &out) {
    Scanner s(text);
    s.skipSpace();
    while (!s.atEnd()) {
        double v;
        if (!s.number(v)) return false;
        out.push_back(v);
        s.skipCommaSpace();
    }
    return true;
}

bool fitsDrawing(double v) { return std::fabs(v) <= double(FLT_MAX); }

std::string_view numberBeyondRange(std::string_view text) {
    Scanner s(text);
    while (!s.atEnd()) {
        const size_t start = s.position();
        double v;
        if (!s.number(v)) {
            s.advance();
            continue;
        }
        if (!fitsDrawing(v)) return text.substr(start, s.position() - start);
    }
    return {};
}

}  // namespace smear::svg
