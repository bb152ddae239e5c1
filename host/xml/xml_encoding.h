// Text in UTF-16 or ISO-8859-1, as some editors save XML, to and from
// UTF-8, so that such a file is read, edited and written back as a UTF-8
// one is.
#pragma once

#include <string>
#include <string_view>

namespace smear {

enum class TextEncoding { kUtf8, kUtf16LittleEndian, kUtf16BigEndian, kLatin1 };

// Appends a code point's UTF-8 sequence.
void appendUtf8(std::string &out, char32_t codePoint);

// The encoding a byte order mark at the start of `bytes` says (UTF-8 when
// there is none), and the mark's length.
TextEncoding byteOrderMark(std::string_view bytes, size_t &markLength);
// The encoding of an XML text, as an XML parser finds it: by its byte
// order mark, by the bytes of its first '<' (UTF-16 without a mark), or by
// the encoding its declaration names (ISO-8859-1 or latin1); else UTF-8.
TextEncoding xmlEncoding(std::string_view bytes, size_t &markLength);

// The text in `encoding` (without its mark) as UTF-8; false with a reason
// for text that is not in it.
bool toUtf8(std::string_view bytes, TextEncoding encoding, std::string &out, std::string &error);
// UTF-8 text in `encoding`, with a byte order mark when `mark` (UTF-16
// only). A character ISO-8859-1 lacks is written as a character reference.
std::string fromUtf8(std::string_view text, TextEncoding encoding, bool mark);

// UTF-16 text (without its mark) as UTF-8; false, with the offset of the
// first bad unit in `error`, for an odd length or a lone surrogate.
bool utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string &out, std::string &error);
// UTF-8 text as UTF-16, with its byte order mark unless `mark` is false.
// The text is well-formed UTF-8 (what the XML writers make); a byte that is
// not becomes U+FFFD.
std::string utf8ToUtf16(std::string_view text, bool bigEndian, bool mark = true);

}  // namespace smear
