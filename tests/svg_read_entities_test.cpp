// Entities a file declares in its DOCTYPE, expanded before the XML parser
// reads it, as editors that write style text once and refer to it expect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "svg.h"
#include "svg_write_support.h"
#include "xml_entities.h"

namespace smear {
namespace {

std::string expanded(const std::string &text, std::vector<std::string> *skipped = nullptr, size_t limit = 1 << 20) {
    std::string out, error;
    std::vector<std::string> notExpanded;
    EXPECT_TRUE(expandInternalEntities(text, limit, out, notExpanded, error)) << error;
    if (skipped) *skipped = notExpanded;
    return out;
}

TEST(XmlEntities, ReferencesBecomeTheirValuesOutsideCommentsAndCdata) {
    const std::string head = "<?xml version='1.0'?>\n<!DOCTYPE svg [\n"
                             "  <!ENTITY st0 \"fill:none;stroke:#000;\">\n"
                             "  <!ENTITY q 'say \"hi\"'>\n"
                             "  <!ENTITY both \"&st0;stroke-width:2\">\n"
                             "  <!ENTITY mark \"<g/>\">\n"
                             "  <!ENTITY % param \"x\">\n"
                             "  <!ENTITY ext SYSTEM \"other.xml\">\n"
                             "]>\n";
    std::vector<std::string> skipped;
    const std::string out = expanded(head + "<svg><path style=\"&st0;\" title='&q;' class=\"&both;\"/>"
                                            "<!-- &st0; --><style><![CDATA[&st0;]]></style>&mark;&ext;&amp;</svg>",
                                     &skipped);
    // The DOCTYPE stays as written; quotes are escaped to fit any attribute;
    // values that refer to others are expanded in turn.
    EXPECT_EQ(out, head + "<svg><path style=\"fill:none;stroke:#000;\" title='say &quot;hi&quot;' "
                          "class=\"fill:none;stroke:#000;stroke-width:2\"/>"
                          "<!-- &st0; --><style><![CDATA[&st0;]]></style>&mark;&ext;&amp;</svg>");
    EXPECT_EQ(skipped, (std::vector<std::string>{"ext", "mark"}));
}

TEST(XmlEntities, AFileWithoutEntitiesIsItselfAndANestedExpansionIsBounded) {
    const std::string plain = "<!DOCTYPE svg><svg>&amp;</svg>";
    EXPECT_EQ(expanded(plain), plain);
    // Ten times ten times ... : refused once past the limit, not built.
    std::string laughs = "<!DOCTYPE svg [<!ENTITY a0 \"lol\">";
    for (int k = 1; k < 9; ++k) {
        laughs += "<!ENTITY a" + std::to_string(k) + " \"";
        for (int r = 0; r < 10; ++r) laughs += "&a" + std::to_string(k - 1) + ";";
        laughs += "\">";
    }
    laughs += "]><svg a='&a8;'/>";
    std::string out, error;
    std::vector<std::string> skipped;
    EXPECT_FALSE(expandInternalEntities(laughs, 1 << 20, out, skipped, error));
    EXPECT_TRUE(out.empty());
    EXPECT_NE(error.find("expand past"), std::string::npos) << error;
}

TEST(XmlEntities, StyleTextInEntitiesIsReadAndKeptAsWrittenWhenTheArtChanges) {
    const std::string file = "<!DOCTYPE svg [ <!ENTITY st0 \"fill:none;stroke:#ff0000;stroke-width:3;\"> ]>\n"
                             "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
                             "<path id='p' style='&st0;' d='M0 0 L5 5'/></svg>";
    Document doc;
    SvgReadReport report;
    std::string error;
    ASSERT_TRUE(readSvgString(file, doc, report, error)) << error;
    Art *p = nullptr;
    doc.forEachArt([&](const Art &a) { p = const_cast<Art *>(&a); });
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->style.fillPaint, 0);
    ASSERT_EQ(p->style.strokePaint, 1);
    EXPECT_FLOAT_EQ(p->style.stroke.color.c.rgb.red, 1);
    EXPECT_FLOAT_EQ(p->style.stroke.width, 3);
    // Unchanged: byte for byte. Changed: the reference stays, the width
    // that changed follows it.
    EXPECT_EQ(svgOf(doc), file);
    p->style.stroke.width = 5;
    const std::string written = svgOf(doc);
    EXPECT_NE(written.find("style=\"&st0;;stroke-width:5\""), std::string::npos) << written;
    Document back;
    ASSERT_TRUE(readSvgString(written, back, report, error)) << error;
    back.forEachArt([&](const Art &a) {
        EXPECT_EQ(a.style.fillPaint, 0);
        EXPECT_FLOAT_EQ(a.style.stroke.width, 5);
    });
}

}  // namespace
}  // namespace smear
