// Number scanning for SVG attribute microsyntaxes (path data, point lists,
// transform lists, lengths). Locale-independent: "1,5" is two numbers here
// whatever the C library's locale says.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace smear::svg {

// CSS and SVG whitespace.
bool isSpace(char c);
// The text without leading and trailing whitespace.
std::string_view trim(std::string_view s);
// ASCII letters in lower case; keywords and names are ASCII.
std::string lower(std::string_view s);

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    size_t position() const { return pos_; }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void advance() { ++pos_; }

    void skipSpace();
    // Skips spaces, at most one comma, and spaces again.
    void skipCommaSpace();
    // Whether the next character can begin a number.
    bool atNumber() const;
    // Reads one number by the SVG grammar: sign, digits, fraction, exponent.
    // "1.5.5" gives 1.5, then .5; "1e-3" one number. False (nothing
    // consumed) when no number starts here. A number beyond a double is
    // infinite, one too close to zero for it is zero.
    bool number(double &out);
    // An arc flag: exactly one character, '0' or '1'.
    bool flag(bool &out);

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// The whole text is one number (surrounding spaces allowed).
bool parseNumber(std::string_view text, double &out);

// Numbers separated by spaces and/or commas. False when something else is in
// the list; `out` then holds the numbers read before it.
bool parseNumberList(std::string_view text, std::vector<double> &out);

// Whether the drawing can hold `v`: it keeps single-precision numbers, so
// finite values up to the largest float. Tiny values that round to zero fit.
bool fitsDrawing(double v);

// The first number written in `text` that the drawing cannot hold, as it
// is written there; empty when every number fits. Anything that is not a
// number is passed over, so this serves any attribute that holds numbers.
std::string_view numberBeyondRange(std::string_view text);

}  // namespace smear::svg
