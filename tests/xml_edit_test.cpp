// Changing an XML text in place: every byte that is not changed stays as
// written, whatever its quotes, spacing or comments.
#include <gtest/gtest.h>

#include "xml_edit.h"

namespace smear {
namespace {

struct Edited {
    explicit Edited(std::string t) : text(std::move(t)) { ok = scanXmlSpans(text, spans); }
    std::string text;
    std::vector<XmlElementSpan> spans;
    bool ok = false;
};

const char kText[] =
    "<?xml version='1.0'?>\n<!-- drawn by hand -->\n"
    "<svg xmlns=\"http://www.w3.org/2000/svg\">\n"
    "  <g id='a'  class=\"x\"\n     transform=\"translate(1 2)\">\n"
    "    <rect id=\"r\" width='10' height=\"5\" style=\"fill: red ;filter:url(&quot;#f;g&quot;) ; opacity:.5\"/>\n"
    "    <path id=\"p\" d=\"M0 0\" ></path>\n"
    "  </g>\n"
    "  <circle id=\"c\" r=\"3\" />\n"
    "</svg>\n";

TEST(XmlEdit, NothingAskedChangesNothing) {
    Edited d(kText);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(XmlEdit(d.text, d.spans).apply(), d.text);
}

TEST(XmlEdit, AttributesChangeInPlaceAndTheRestOfTheTagStaysAsWritten) {
    Edited d(kText);
    ASSERT_TRUE(d.ok);
    XmlEdit e(d.text, d.spans);
    e.setAttribute(1, "transform", "matrix(1 0 0 1 5 5)");  // the group
    e.removeAttribute(1, "class");
    e.setAttribute(1, "data-tag", "a<\"b\">");
    e.setAttribute(2, "width", "12");  // single quotes: rewritten with double ones
    std::string expected = d.text;
    auto replace = [&](const std::string &from, const std::string &to) {
        const size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    };
    replace("<g id='a'  class=\"x\"\n     transform=\"translate(1 2)\">",
            "<g id='a'\n     transform=\"matrix(1 0 0 1 5 5)\" data-tag=\"a&lt;&quot;b&quot;&gt;\">");
    replace("width='10'", "width=\"12\"");
    EXPECT_EQ(e.apply(), expected);
    EXPECT_EQ(e.attribute(1, "transform"), "translate(1 2)");
    EXPECT_FALSE(e.attribute(1, "nothing"));
}

TEST(XmlEdit, StylePropertiesChangeInsideTheirAttribute) {
    Edited d(kText);
    ASSERT_TRUE(d.ok);
    XmlEdit e(d.text, d.spans);
    EXPECT_EQ(e.styleProperty(2, "filter"), "url(&quot;#f;g&quot;)");
    EXPECT_EQ(e.styleProperty(2, "fill"), "red");
    e.setStyleProperty(2, "fill", "#00ff00");
    e.removeStyleProperty(2, "opacity");
    e.setStyleProperty(2, "mix-blend-mode", "multiply");
    e.setStyleProperty(4, "fill", "blue");  // the circle has no style yet
    const std::string out = e.apply();
    EXPECT_NE(out.find("style=\"fill:#00ff00;filter:url(&quot;#f;g&quot;) ;mix-blend-mode:multiply\"/>"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("<circle id=\"c\" r=\"3\" style=\"fill:blue\" />"), std::string::npos) << out;

    // A style left empty goes, attribute and all.
    XmlEdit all(d.text, d.spans);
    for (const char *p : {"fill", "filter", "opacity"}) all.removeStyleProperty(2, p);
    EXPECT_NE(all.apply().find("<rect id=\"r\" width='10' height=\"5\"/>"), std::string::npos) << all.apply();
}

TEST(XmlEdit, ElementsAreRenamedRemovedAndGainNeighboursAndChildren) {
    Edited d(kText);
    ASSERT_TRUE(d.ok);
    XmlEdit e(d.text, d.spans);
    e.rename(3, "g");  // <path ...></path> becomes <g ...></g>
    e.remove(2);       // the rect
    e.setAttribute(2, "ignored", "inside what is removed");
    e.insertAfter(3, "<new-after-p/>");
    e.appendChild(1, "<last-in-a/>");
    e.prependChild(1, "<first-in-a/>");
    e.appendChild(4, "<title>c</title>");  // the circle was an empty-element tag
    const std::string expected =
        "<?xml version='1.0'?>\n<!-- drawn by hand -->\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\">\n"
        "  <g id='a'  class=\"x\"\n     transform=\"translate(1 2)\"><first-in-a/>\n"
        "    \n"
        "    <g id=\"p\" d=\"M0 0\" ></g><new-after-p/>\n"
        "  <last-in-a/></g>\n"
        "  <circle id=\"c\" r=\"3\" ><title>c</title></circle>\n"
        "</svg>\n";
    EXPECT_EQ(e.apply(), expected);
    EXPECT_TRUE(e.removed(2));
    EXPECT_FALSE(e.removed(3));

    // The whole group goes with what is inside it, changes and all.
    XmlEdit gone(d.text, d.spans);
    gone.setAttribute(3, "d", "M1 1");
    gone.remove(1);
    EXPECT_EQ(gone.apply().find("<g"), std::string::npos);
    EXPECT_NE(gone.apply().find("<svg xmlns=\"http://www.w3.org/2000/svg\">\n  \n  <circle"), std::string::npos);
}

TEST(XmlEdit, MarkupTakesThePrefixOfTheFilesElementsWhereItHasNone) {
    EXPECT_EQ(withElementPrefix("<g a='1'><path d='M0 0'/><x:keep>t</x:keep></g>\n<defs/>", "svg:"),
              "<svg:g a='1'><svg:path d='M0 0'/><x:keep>t</x:keep></svg:g>\n<svg:defs/>");
    EXPECT_EQ(withElementPrefix("<g><path/></g>", ""), "<g><path/></g>");
    Edited d("<svg:svg xmlns:svg='http://www.w3.org/2000/svg' xmlns:l=\"http://www.w3.org/1999/xlink\" "
             "xmlns:m='urn:two' xmlns:n='urn:two'/>");
    ASSERT_TRUE(d.ok);
    const XmlNamespaces ns = declaredNamespaces(d.text, d.spans[0]);
    EXPECT_EQ(ns.defaultUri, "");
    EXPECT_EQ(ns.prefixByUri.at("http://www.w3.org/2000/svg"), "svg");
    EXPECT_EQ(ns.prefixByUri.at("http://www.w3.org/1999/xlink"), "l");
    EXPECT_EQ(ns.prefixByUri.at("urn:two"), "m");  // the first that says it
}

TEST(XmlEdit, AStyleWrittenWithReferencesKeepsItsDeclarationsWhole) {
    // A quote written as a reference, with a ';' inside the string.
    Edited d("<svg><path id='p' style='font-family:&apos;A;B&apos;;fill:red;stroke:&#34;x&#34;'/></svg>");
    ASSERT_TRUE(d.ok);
    XmlEdit edit(d.text, d.spans);
    EXPECT_EQ(edit.styleProperty(1, "fill"), "red");
    EXPECT_EQ(edit.styleProperty(1, "font-family"), "&apos;A;B&apos;");
    edit.setStyleProperty(1, "opacity", "0.5");
    EXPECT_EQ(edit.apply(),
              "<svg><path id='p' style=\"font-family:&apos;A;B&apos;;fill:red;stroke:&#34;x&#34;;opacity:0.5\"/></svg>");
}

}  // namespace
}  // namespace smear
