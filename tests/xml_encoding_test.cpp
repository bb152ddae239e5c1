// UTF-16 text to and from UTF-8: every character there and back, both byte
// orders, and text that is not UTF-16 refused with where it goes wrong.
#include <gtest/gtest.h>

#include "xml_encoding.h"

namespace smear {
namespace {

TEST(XmlEncoding, ByteOrderMarksSayTheEncoding) {
    size_t mark = 9;
    EXPECT_EQ(byteOrderMark("\xFF\xFE<\0", mark), TextEncoding::kUtf16LittleEndian);
    EXPECT_EQ(mark, 2u);
    EXPECT_EQ(byteOrderMark("\xFE\xFF\0<", mark), TextEncoding::kUtf16BigEndian);
    EXPECT_EQ(mark, 2u);
    EXPECT_EQ(byteOrderMark("<svg/>", mark), TextEncoding::kUtf8);
    EXPECT_EQ(mark, 0u);
    // UTF-32's mark begins as UTF-16's does; it is not taken for it.
    EXPECT_EQ(byteOrderMark(std::string("\xFF\xFE\0\0", 4), mark), TextEncoding::kUtf8);
}

TEST(XmlEncoding, EveryCharacterGoesThereAndBackInBothByteOrders) {
    // ASCII, two-, three- and four-byte sequences (one outside the BMP).
    const std::string text = "<a t='x'>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xA8\xEF\xBF\xBF</a>";
    for (bool bigEndian : {false, true}) {
        const std::string wide = utf8ToUtf16(text, bigEndian);
        size_t mark = 0;
        EXPECT_EQ(byteOrderMark(wide, mark),
                  bigEndian ? TextEncoding::kUtf16BigEndian : TextEncoding::kUtf16LittleEndian);
        // The mark, 13 ASCII units, three more of the BMP and a surrogate pair.
        EXPECT_EQ(wide.size(), 2u + 2 * (13 + 3 + 2)) << bigEndian;
        std::string back, error;
        ASSERT_TRUE(utf16ToUtf8(std::string_view(wide).substr(mark), bigEndian, back, error)) << error;
        EXPECT_EQ(back, text);
    }
    EXPECT_EQ(utf8ToUtf16("A", true), std::string("\xFE\xFF\0A", 4));
    EXPECT_EQ(utf8ToUtf16("A", false), std::string("\xFF\xFE" "A\0", 4));
}

TEST(XmlEncoding, WhatIsNotUtf16IsRefusedAndBadUtf8IsReplaced) {
    std::string out, error;
    EXPECT_FALSE(utf16ToUtf8(std::string("a\0b", 3), false, out, error));
    EXPECT_NE(error.find("odd number"), std::string::npos) << error;
    EXPECT_FALSE(utf16ToUtf8(std::string("a\0\x00\xDC", 4), false, out, error));  // a low surrogate alone
    EXPECT_NE(error.find("byte 2"), std::string::npos) << error;
    EXPECT_FALSE(utf16ToUtf8(std::string("\xD8\x00", 2), true, out, error));  // a high one at the end
    // A byte that is no UTF-8 becomes U+FFFD, never a surrogate half.
    EXPECT_EQ(utf8ToUtf16("\xFF", true), std::string("\xFE\xFF\xFF\xFD", 4));
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80", true), std::string("\xFE\xFF\xFF\xFD", 4));
}

TEST(XmlEncoding, AnXmlTextSaysItsEncodingAsAParserFindsIt) {
    size_t mark = 9;
    EXPECT_EQ(xmlEncoding(std::string("<\0s\0", 4), mark), TextEncoding::kUtf16LittleEndian);
    EXPECT_EQ(mark, 0u);
    EXPECT_EQ(xmlEncoding(std::string("\0<\0s", 4), mark), TextEncoding::kUtf16BigEndian);
    EXPECT_EQ(xmlEncoding("<?xml version='1.0' encoding=\"Iso-8859-1\"?><a/>", mark), TextEncoding::kLatin1);
    EXPECT_EQ(xmlEncoding("<?xml version='1.0' encoding='LATIN1'?><a/>", mark), TextEncoding::kLatin1);
    EXPECT_EQ(xmlEncoding("<?xml version='1.0' encoding='UTF-8'?><a/>", mark), TextEncoding::kUtf8);
    // A name after the declaration is not its encoding.
    EXPECT_EQ(xmlEncoding("<?xml version='1.0'?><a encoding='latin1'/>", mark), TextEncoding::kUtf8);
    std::string out, error;
    ASSERT_TRUE(toUtf8("caf\xE9", TextEncoding::kLatin1, out, error));
    EXPECT_EQ(out, "caf\xC3\xA9");
    EXPECT_EQ(fromUtf8("caf\xC3\xA9 \xE2\x82\xAC", TextEncoding::kLatin1, false), "caf\xE9 &#8364;");
}

}  // namespace
}  // namespace smear
