#include "xml_encoding.h"

namespace smear {

namespace {

void appendUnit(std::string &out, char16_t u, bool bigEndian) {
    const char high = char(u >> 8), low = char(u & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

// The code point of the UTF-8 sequence at `at` (advanced past it); U+FFFD
// and one byte for a malformed one.
char32_t nextCodePoint(std::string_view text, size_t &at) {
    const unsigned char b = static_cast<unsigned char>(text[at]);
    const int length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || at + size_t(length) > text.size()) {
        ++at;
        return 0xFFFD;
    }
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[at + size_t(k)]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    at += size_t(length);
    if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return 0xFFFD;
    return c;
}

}  // namespace

void appendUtf8(std::string &out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

TextEncoding byteOrderMark(std::string_view bytes, size_t &markLength) {
    markLength = 0;
    if (bytes.size() >= 2) {
        const unsigned char a = static_cast<unsigned char>(bytes[0]), b = static_cast<unsigned char>(bytes[1]);
        // FF FE 00 00 is UTF-32's mark, which is not taken for UTF-16's.
        const bool utf32 = bytes.size() >= 4 && bytes[2] == 0 && bytes[3] == 0;
        if (a == 0xFF && b == 0xFE && !utf32) {
            markLength = 2;
            return TextEncoding::kUtf16LittleEndian;
        }
        if (a == 0xFE && b == 0xFF) {
            markLength = 2;
            return TextEncoding::kUtf16BigEndian;
        }
    }
    return TextEncoding::kUtf8;
}

bool utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string &out, std::string &error) {
    out.clear();
    if (bytes.size() % 2) {
        error = "UTF-16 text of an odd number of bytes";
        return false;
    }
    auto unit = [&](size_t i) {
        const unsigned char a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return char16_t(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const char16_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            const char16_t v = unit(i + 2);
            if (v >= 0xDC00 && v < 0xE000) {
                appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(v) - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (u >= 0xD800 && u < 0xE000) {
            error = "a lone UTF-16 surrogate at byte " + std::to_string(i);
            return false;
        }
        appendUtf8(out, u);
    }
    return true;
}

std::string utf8ToUtf16(std::string_view text, bool bigEndian, bool mark) {
    std::string out;
    out.reserve(2 * text.size() + 2);
    if (mark) appendUnit(out, 0xFEFF, bigEndian);
    for (size_t at = 0; at < text.size();) {
        const char32_t c = nextCodePoint(text, at);
        if (c < 0x10000) {
            appendUnit(out, char16_t(c), bigEndian);
        } else {
            appendUnit(out, char16_t(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
            appendUnit(out, char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
        }
    }
    return out;
}

TextEncoding xmlEncoding(std::string_view bytes, size_t &markLength) {
    const TextEncoding marked = byteOrderMark(bytes, markLength);
    if (markLength > 0 || bytes.size() < 4) return marked;
    if (bytes[0] == '<' && bytes[1] == 0 && bytes[3] == 0) return TextEncoding::kUtf16LittleEndian;
    if (bytes[0] == 0 && bytes[1] == '<' && bytes[2] == 0) return TextEncoding::kUtf16BigEndian;
    if (bytes.compare(0, 5, "<?xml") != 0) return TextEncoding::kUtf8;
    // The declaration's encoding, in either quotes, in any case.
    const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
    const size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) return TextEncoding::kUtf8;
    const size_t open = declaration.find_first_of("'\"", at);
    if (open == std::string_view::npos) return TextEncoding::kUtf8;
    const size_t close = declaration.find(declaration[open], open + 1);
    std::string name(declaration.substr(open + 1, close == std::string_view::npos ? 0 : close - open - 1));
    for (char &c : name)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return name == "iso-8859-1" || name == "latin1" ? TextEncoding::kLatin1 : TextEncoding::kUtf8;
}

bool toUtf8(std::string_view bytes, TextEncoding encoding, std::string &out, std::string &error) {
    switch (encoding) {
    case TextEncoding::kUtf16LittleEndian: return utf16ToUtf8(bytes, false, out, error);
    case TextEncoding::kUtf16BigEndian: return utf16ToUtf8(bytes, true, out, error);
    case TextEncoding::kLatin1:
        out.clear();
        for (char c : bytes) appendUtf8(out, static_cast<unsigned char>(c));
        return true;
    case TextEncoding::kUtf8: break;
    }
    out.assign(bytes);
    return true;
}

std::string fromUtf8(std::string_view text, TextEncoding encoding, bool mark) {
    switch (encoding) {
    case TextEncoding::kUtf16LittleEndian: return utf8ToUtf16(text, false, mark);
    case TextEncoding::kUtf16BigEndian: return utf8ToUtf16(text, true, mark);
    case TextEncoding::kLatin1: {
        std::string out;
        for (size_t at = 0; at < text.size();) {
            const char32_t c = nextCodePoint(text, at);
            if (c < 0x100) out += char(c);
            else out += "&#" + std::to_string(unsigned(c)) + ";";
        }
        return out;
    }
    case TextEncoding::kUtf8: break;
    }
    return std::string(text);
}

}  // namespace smear
