// What the studio takes out of a drawing's markup before a browser sees it:
// the ways SVG carries code, however a file dresses them up, while what
// draws stays as it was.
#include <gtest/gtest.h>

#include <string>

#include "svg_sanitize.h"

namespace smear {
namespace {

const std::string kOpen = R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink">)";

std::string cleaned(const std::string &body) {
    const SvgSanitizeResult r = sanitizeSvg(kOpen + body + "</svg>");
    EXPECT_EQ(r.error, "") << body;
    return r.markup;
}

TEST(SvgSanitize, CodeIsTakenOutHoweverItIsWritten) {
    const char *const code[] = {
        "<script>steal()</script>",
        "<script xlink:href='data:text/javascript,steal()'/>",
        "<svg:script xmlns:svg='http://www.w3.org/2000/svg'>steal()</svg:script>",
        "<g xmlns:s='http://www.w3.org/2000/svg'><s:script>steal()</s:script></g>",
        "<SCRIPT>steal()</SCRIPT>",
        "<pattern id='p'><script>steal()</script></pattern>",
        "<foreignObject><div xmlns='http://www.w3.org/1999/xhtml'>steal</div></foreignObject>",
        "<g><html:iframe xmlns:html='http://www.w3.org/1999/xhtml' src='steal'/></g>",
        "<g xmlns='http://www.w3.org/1999/xhtml'><script>steal()</script></g>",
        "<handler type='text/ecmascript'>steal()</handler>",
        "<a><set attributeName='href' to='javascript:steal()'/></a>",
        "<a><animate attributeName='xlink:href' values='javascript:steal()'/></a>",
        "<rect><set attributeName='onclick' to='steal()'/></rect>",
        "<unbound:thing>steal</unbound:thing>",
    };
    for (const char *body : code) {
        const SvgSanitizeResult r = sanitizeSvg(kOpen + "<g id='keep'>" + body + "</g></svg>");
        EXPECT_EQ(r.error, "") << body;
        EXPECT_EQ(r.markup.find("steal"), std::string::npos) << body << " -> " << r.markup;
        EXPECT_NE(r.markup.find("<g id=\"keep\""), std::string::npos) << r.markup;
        EXPECT_GE(r.removedElements, 1u) << body;
    }
}

TEST(SvgSanitize, HandlersAndCodeLinksAreTakenOffElementsThatStay) {
    const char *const attributes[] = {
        "onload='steal()'", "ONCLICK='steal()'", "onmouseover  =  \"steal()\"", "x:onfocus='steal()' xmlns:x='urn:x'",
        "href='javascript:steal()'", "xlink:href=' JavaScript:steal()'", "href='java&#x09;script:steal()'",
        "href='&#106;avascript:steal()'", "href='java\nscript:steal()'", "href='vbscript:steal'",
        "href='data:text/html,&lt;script&gt;steal()&lt;/script&gt;'", "href='data:image/svg+xml,steal'",
        "xlink:href='DATA:text/html;base64,steal'",
    };
    for (const char *a : attributes) {
        const std::string out = cleaned(std::string("<a id='link' ") + a + "><rect id='r' width='2' height='2'/></a>");
        EXPECT_EQ(out.find("steal"), std::string::npos) << a << " -> " << out;
        EXPECT_NE(out.find("<a id=\"link\""), std::string::npos) << a << " -> " << out;
        EXPECT_NE(out.find("><rect id=\"r\" width=\"2\" height=\"2\"/></a>"), std::string::npos) << a << " -> " << out;
    }
}

TEST(SvgSanitize, WhatDrawsIsKeptAsItWas) {
    const std::string drawing =
        R"(<defs><linearGradient id="g"><stop offset="0" stop-color="#fff"/></linearGradient>)"
        R"(<pattern id="p" width="4" height="4"><image width="4" height="4" xlink:href="data:image/png;base64,iVBORw0KGgo="/></pattern>)"
        R"(<style>rect { fill: url(#g) }</style></defs>)"
        R"(<a href="https://example.org/page"><text xml:space="preserve" x="1"> two  spaces &amp; more </text></a>)"
        R"(<use href="#p" x="3"/><g data-onward="1" font="x"><path d="M0 0&#10;L1 1" style="fill:none"/></g>)"
        R"(<animate attributeName="opacity" to="0.5"/><![CDATA[ raw < text ]]>)";
    const SvgSanitizeResult r = sanitizeSvg(kOpen + drawing + "</svg>");
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.removedElements + r.removedAttributes, 0u) << r.markup;
    EXPECT_EQ(r.markup, kOpen + drawing + "</svg>");
}

TEST(SvgSanitize, FragmentsAreReadAsPartsOfTheStudiosDrawing) {
    SvgSanitizeOptions fragment;
    fragment.fragment = true;
    SvgSanitizeResult r = sanitizeSvg(R"x(<rect id="a" onclick="steal()"/><script>steal()</script><g id="b"/>)x", fragment);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.markup, R"(<rect id="a"/><g id="b"/>)");
    r = sanitizeSvg(R"x(<a xlink:href="javascript:steal()">x</a>)x", fragment);
    EXPECT_EQ(r.markup, "<a>x</a>");
    // A fragment in another vocabulary is no part of a drawing.
    r = sanitizeSvg(R"(<div xmlns="http://www.w3.org/1999/xhtml">steal</div>)", fragment);
    EXPECT_EQ(r.markup, "");
}

TEST(SvgSanitize, OnlyAnSvgDrawingIsServed) {
    for (const char *bad : {"", "<svg", "<html><body/></html>", "<svg/>", "<svg xmlns='http://www.w3.org/1999/xhtml'/>",
                            "<svg xmlns='http://www.w3.org/2000/svg'><g></svg>"})
        EXPECT_NE(sanitizeSvg(bad).error, "") << bad;
    // What comes before the root may transform or define; it goes.
    const SvgSanitizeResult r = sanitizeSvg(
        "<?xml version='1.0'?><?xml-stylesheet type='text/xsl' href='steal.xsl'?><!DOCTYPE svg [<!ENTITY e 'x'>]>"
        "<!-- note --><svg xmlns='http://www.w3.org/2000/svg'/>");
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.markup, R"(<svg xmlns="http://www.w3.org/2000/svg"/>)");
    // Nested as deep as a file likes, without running out of stack.
    std::string deep = "<svg xmlns='http://www.w3.org/2000/svg'>";
    for (int i = 0; i < 200000; ++i) deep += "<g>";
    deep += "<script>steal()</script>";
    for (int i = 0; i < 200000; ++i) deep += "</g>";
    const SvgSanitizeResult d = sanitizeSvg(deep + "</svg>");
    EXPECT_EQ(d.error, "");
    EXPECT_EQ(d.markup.find("steal"), std::string::npos);
    EXPECT_EQ(d.removedElements, 1u);
}

}  // namespace
}  // namespace smear
