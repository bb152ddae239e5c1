// Element and attribute spans of XML text: what lets the SVG writer copy a
// file byte for byte and change only what it must.
#include <gtest/gtest.h>

#include <string>

#include "xml_spans.h"

namespace smear {
namespace {

std::string_view cut(std::string_view text, size_t from, size_t to) { return text.substr(from, to - from); }

TEST(XmlSpans, ElementsInDocumentOrderWithTheirExactExtents) {
    const std::string text =
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE svg [ <!ENTITY ink \"<b>\"> <!-- ] > --> ]>\n"
        "<svg a='1>2' b = \"x\">\n"
        "  <!-- <g> is not here -->\n"
        "  <g id=\"g\"><rect/><style><![CDATA[ a > b { } </x> ]]></style></g >\n"
        "  <path d=\"M0 0\" />\n"
        "</svg>\n";
    std::vector<XmlElementSpan> s;
    ASSERT_TRUE(scanXmlSpans(text, s));
    ASSERT_EQ(s.size(), 5u);
    const char *names[] = {"svg", "g", "rect", "style", "path"};
    const int parents[] = {-1, 0, 1, 1, 0};
    for (size_t k = 0; k < s.size(); ++k) {
        EXPECT_EQ(cut(text, s[k].nameBegin, s[k].nameEnd), names[k]);
        EXPECT_EQ(s[k].parent, parents[k]) << names[k];
        EXPECT_EQ(text[s[k].open], '<');
    }
    // Attribute values as written, quotes of either kind, '>' inside.
    ASSERT_EQ(s[0].attributes.size(), 2u);
    EXPECT_EQ(cut(text, s[0].attributes[0].nameBegin, s[0].attributes[0].nameEnd), "a");
    EXPECT_EQ(cut(text, s[0].attributes[0].valueBegin, s[0].attributes[0].valueEnd), "1>2");
    EXPECT_EQ(cut(text, s[0].attributes[1].valueBegin, s[0].attributes[1].valueEnd), "x");
    EXPECT_EQ(cut(text, s[0].open, s[0].openEnd), "<svg a='1>2' b = \"x\">");
    EXPECT_EQ(cut(text, s[0].close, s[0].end), "</svg>");
    EXPECT_EQ(cut(text, s[1].open, s[1].end),
              "<g id=\"g\"><rect/><style><![CDATA[ a > b { } </x> ]]></style></g >");
    EXPECT_TRUE(s[2].selfClosing);
    EXPECT_EQ(s[2].close, s[2].openEnd);
    EXPECT_EQ(s[2].end, s[2].openEnd);
    EXPECT_EQ(cut(text, s[4].open, s[4].end), "<path d=\"M0 0\" />");
}

TEST(XmlSpans, RefusesWhatItCannotFollow) {
    std::vector<XmlElementSpan> s;
    for (const char *bad : {"<a><b></a></b>", "<a>", "<a x=1/>", "<a x=\"1/>", "<!-- open", "<a><![CDATA[</a>",
                            "text only", "", "<a></ab>"})
        EXPECT_FALSE(scanXmlSpans(bad, s)) << bad;
}

TEST(XmlSpans, TextOfMarkupExpandsPredefinedEntitiesAndCharacterReferences) {
    EXPECT_EQ(xmlText("a &lt;b&gt; &amp;&quot;&apos; &#65;&#x42;&#xe9;&#x1F600;"),
              "a <b> &\"' AB\xC3\xA9\xF0\x9F\x98\x80");
    // What is no reference stays as written.
    EXPECT_EQ(xmlText("&ink; &#; &#x; &#xZZ; & &#1114112;"), "&ink; &#; &#x; &#xZZ; & &#1114112;");
}

}  // namespace
}  // namespace smear
