// Text in UTF-16, as some editors save XML, to and from UTF-8, so that such
// a file is read, edited and written back as a UTF-8 one is.
#pragma once

#include <string>
#include <string_view>

namespace smear {

enum class TextEncoding { kUtf8, kUtf16LittleEndian, kUtf16BigEndian };

// Appends a code point's UTF-8 sequence.
void appendUtf8(std::string &out, char32_t codePoint);

// The encoding a byte order mark at the start of `bytes` says (UTF-8 when
// there is none), and the mark's length.
TextEncoding byteOrderMark(std::string_view bytes, size_t &markLength);

// UTF-16 text (without its mark) as UTF-8; false, with the offset of the
// first bad unit in `error`, for an odd length or a lone surrogate.
bool utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string &out, std::string &error);
// UTF-8 text as UTF-16 with its byte order mark. The text is well-formed
// UTF-8 (what the XML writers make); a byte that is not becomes U+FFFD.
std::string utf8ToUtf16(std::string_view text, bool bigEndian);

}  // namespace smear
