// A file read and written back: every byte the drawing did not change is
// the file's own, and what changed keeps what the model does not hold
// (filters, clip paths, masks, classes, titles ...).
#include <gtest/gtest.h>

#include "svg_read_support.h"

namespace smear {
namespace {

// An editor's file: a declaration, a doctype with an entity, comments,
// metadata, a style sheet with a media rule, classes, a filter, a clip
// path, a mask, a marker, a transformed group, text spans, single quotes
// and odd spacing.
const char kFile[] =
    "<?xml version='1.0' encoding='UTF-8' standalone='no'?>\n"
    "<!DOCTYPE svg [ <!ENTITY ink '#336699'> ]>\n"
    "<!-- drawn by hand -->\n"
    "<svg xmlns='http://www.w3.org/2000/svg' xmlns:dc='http://purl.org/dc/elements/1.1/' id='root'\n"
    "     viewBox='0 0 200 100' width='400'   height='200'>\n"
    "  <title>Shapes</title>\n"
    "  <metadata><dc:rights>CC-BY</dc:rights></metadata>\n"
    "  <style>.st0{fill:#ff0000} @media (prefers-color-scheme: dark) { .st0 { fill: #fff } }</style>\n"
    "  <defs>\n"
    "    <filter id='blur'><feGaussianBlur stdDeviation='2'/></filter>\n"
    "    <clipPath id='clip'><rect x='0' y='0' width='60' height='30'/></clipPath>\n"
    "    <mask id='hole'><rect width='200' height='100' fill='#fff'/><circle cx='150' cy='50' r='5'/></mask>\n"
    "    <marker id='arrow' markerWidth='4' markerHeight='4'><path d='M0 0 L4 2 L0 4 Z'/></marker>\n"
    "  </defs>\n"
    "  <g id='layer' transform='translate(10 5)'>\n"
    "    <rect id='a' class='st0' x='0' y='0' width='40' height='20' filter='url(#blur)' clip-path='url(#clip)'/>\n"
    "    <circle id='b' cx='150' cy='50' r='20' style='fill:#00ff00;mask:url(#hole)'  />\n"
    "    <path id='c' d='M10 80 L60 80' stroke='#000' marker-end='url(#arrow)'/>\n"
    "  </g>\n"
    "  <text id='t' x='10' y='95'>One <tspan font-weight='bold'>bold</tspan> word</text>\n"
    "</svg>\n";

Art *byId(Document &doc, const std::string &id) {
    Art *found = nullptr;
    doc.forEachArt([&](const Art &a) {
        if (!found && a.id == id) found = const_cast<Art *>(&a);
    });
    return found;
}

// The text with the first occurrence of `from` replaced by `to`.
std::string replaced(std::string text, const std::string &from, const std::string &to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(SvgWriteBack, AFileNothingChangedIsWrittenByteForByte) {
    auto r = read(kFile);
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_EQ(svgOf(r->doc), kFile);
    // Undo keeps a copy of the document: it writes the same file.
    EXPECT_EQ(svgOf(*r->doc.clone()), kFile);
}

TEST(SvgWriteBack, ATagChangesOnlyItsAttribute) {
    auto r = read(kFile);
    ASSERT_TRUE(r->ok) << r->error;
    r->doc.forEachArt([](const Art &a) { const_cast<Art &>(a).tags.set("smearcraft", "string", "7"); });
    std::string expected = kFile;
    expected = replaced(expected, "<g id='layer' transform='translate(10 5)'>",
                        "<g id='layer' transform='translate(10 5)' data-smearcraft=\"7\">");
    expected = replaced(expected, "clip-path='url(#clip)'/>", "clip-path='url(#clip)' data-smearcraft=\"7\"/>");
    expected = replaced(expected, "mask:url(#hole)'  />", "mask:url(#hole)' data-smearcraft=\"7\"  />");
    expected = replaced(expected, "marker-end='url(#arrow)'/>", "marker-end='url(#arrow)' data-smearcraft=\"7\"/>");
    expected = replaced(expected, "<text id='t' x='10' y='95'>", "<text id='t' x='10' y='95' data-smearcraft=\"7\">");
    const std::string written = svgOf(r->doc);
    EXPECT_EQ(written, expected);
    // A tag taken away again takes its attribute along.
    auto back = read(written);
    ASSERT_TRUE(back->ok);
    back->doc.forEachArt([](const Art &a) { const_cast<Art &>(a).tags.clear(); });
    EXPECT_EQ(svgOf(back->doc), kFile);
}

// Tags are read into a sorted list and written back by name: many of them,
// written in the reverse of that order, all come back, and a change to one
// touches that one alone.
TEST(SvgWriteBack, AnElementWithManyTagsKeepsEachAndChangesOnlyWhatChanged) {
    std::string tags;
    for (int i = 3000; i > 0; --i) tags += " data-t" + std::to_string(i) + "='" + std::to_string(i) + "'";
    const std::string file = "<svg xmlns='http://www.w3.org/2000/svg'><rect id='r' width='4' height='4'" + tags +
                             "/></svg>";
    auto r = read(file);
    ASSERT_TRUE(r->ok) << r->error;
    Art *rect = byId(r->doc, "r");
    ASSERT_NE(rect, nullptr);
    ASSERT_EQ(rect->tags.size(), 3000u);
    for (int i : {1, 2, 999, 3000}) {
        const TagText *value = rect->tags.value("t" + std::to_string(i));
        ASSERT_NE(value, nullptr) << i;
        EXPECT_EQ(value->view(), std::to_string(i));
    }
    EXPECT_EQ(svgOf(r->doc), file);
    rect->tags.set("t1500", "string", "changed");
    rect->tags.set("smearcraft", "string", "1");
    std::string expected = replaced(file, "data-t1500='1500'", "data-t1500=\"changed\"");
    expected = replaced(expected, "/></svg>", " data-smearcraft=\"1\"/></svg>");
    EXPECT_EQ(svgOf(r->doc), expected);
}

TEST(SvgWriteBack, ChangedArtKeepsItsFilterClipMaskMarkerAndClass) {
    auto r = read(kFile);
    ASSERT_TRUE(r->ok) << r->error;
    // New geometry for the rect, new paint for the circle, new opacity for
    // the path.
    Art *a = byId(r->doc, "a");
    for (AIPathSegment &s : a->segments) s.p.h += 5, s.in.h += 5, s.out.h += 5;
    Art *b = byId(r->doc, "b");
    b->style.fill.color.c.rgb = {0, 0, 1};
    Art *c = byId(r->doc, "c");
    c->opacity = 0.5f;
    const std::string written = svgOf(r->doc);

    // The rect is now a path in the group's coordinates, with what it had.
    const size_t at = written.find("id='a'");
    ASSERT_NE(at, std::string::npos) << written;
    const std::string rect = written.substr(written.rfind('<', at), written.find('>', at) - written.rfind('<', at) + 1);
    EXPECT_EQ(rect.rfind("<path id='a' class='st0' filter='url(#blur)' clip-path='url(#clip)' ", 0), 0u) << rect;
    EXPECT_NE(rect.find(" d=\"M5 0 L45 0 L45 20 L5 20 Z\""), std::string::npos) << rect;
    EXPECT_EQ(rect.find(" width="), std::string::npos) << rect;
    // The circle's fill in its style, where it said it, beside its mask;
    // the path's opacity as an attribute, as it says its paint.
    EXPECT_NE(written.find("<circle id='b' cx='150' cy='50' r='20' style=\"fill:#0000ff;mask:url(#hole)\"  />"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("<path id='c' d='M10 80 L60 80' stroke='#000' marker-end='url(#arrow)' opacity=\"0.5\"/>"),
              std::string::npos)
        << written;
    // Everything around them is as it was.
    for (const char *kept : {"<title>Shapes</title>", "<metadata><dc:rights>CC-BY</dc:rights></metadata>",
                             "@media (prefers-color-scheme: dark)", "<!ENTITY ink '#336699'>", "<!-- drawn by hand -->",
                             "<text id='t' x='10' y='95'>One <tspan font-weight='bold'>bold</tspan> word</text>"})
        EXPECT_NE(written.find(kept), std::string::npos) << kept;

    // Read back, the drawing is what the document held.
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    for (const char *id : {"a", "b", "c"}) {
        const Art *x = byId(r->doc, id), *y = byId(back->doc, id);
        ASSERT_NE(y, nullptr) << id;
        ASSERT_EQ(x->segments.size(), y->segments.size()) << id;
        for (size_t k = 0; k < x->segments.size(); ++k) {
            EXPECT_NEAR(x->segments[k].p.h, y->segments[k].p.h, 1e-4) << id;
            EXPECT_NEAR(x->segments[k].p.v, y->segments[k].p.v, 1e-4) << id;
        }
        EXPECT_FLOAT_EQ(x->opacity, y->opacity) << id;
        EXPECT_EQ(x->style.fill.color.c.rgb.blue, y->style.fill.color.c.rgb.blue) << id;
    }
}

TEST(SvgWriteBack, RemovedArtGoesAndNewArtIsPlacedWhereTheHostPutIt) {
    auto r = read(kFile);
    ASSERT_TRUE(r->ok) << r->error;
    Document &doc = r->doc;
    doc.dispose(byId(doc, "b"));
    // A trail copy above the rect, inside the moved group, and a new layer.
    Art *copy = doc.duplicate(byId(doc, "a"));
    doc.link(copy, kPlaceAbove, byId(doc, "a"));
    for (AIPathSegment &s : copy->segments) s.p.v -= 30, s.in.v -= 30, s.out.v -= 30;
    Layer *layer = doc.addLayer("Trail");
    Art *dot = doc.newArt(kPathArt);
    dot->id = "dot";
    dot->segments = {AIPathSegment{{1, -1}, {1, -1}, {1, -1}, true}, AIPathSegment{{2, -2}, {2, -2}, {2, -2}, true}};
    doc.link(dot, kPlaceInsideOnTop, layer->root);

    const std::string written = svgOf(doc);
    EXPECT_EQ(written.find("id='b'"), std::string::npos) << written;
    // The copy follows the rect, in the group's coordinates (the group's
    // move undone around it), with an id of its own.
    const size_t rect = written.find("id='a'"), copied = written.find("id=\"a-copy\"");
    ASSERT_NE(copied, std::string::npos) << written;
    EXPECT_LT(rect, copied);
    EXPECT_LT(copied, written.find("id='c'"));
    EXPECT_NE(written.find("data-layer=\"Trail\""), std::string::npos) << written;

    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    EXPECT_EQ(byId(back->doc, "b"), nullptr);
    const Art *again = byId(back->doc, "a-copy");
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(again->segments.size(), copy->segments.size());
    for (size_t k = 0; k < copy->segments.size(); ++k) {
        EXPECT_NEAR(again->segments[k].p.h, copy->segments[k].p.h, 1e-4);
        EXPECT_NEAR(again->segments[k].p.v, copy->segments[k].p.v, 1e-4);
    }
    ASSERT_NE(byId(back->doc, "dot"), nullptr);
    EXPECT_EQ(byId(back->doc, "dot")->layer->name, "Trail");
    // And the second trip changes nothing.
    EXPECT_EQ(svgOf(back->doc), written);
}

TEST(SvgWriteBack, WhatTheHostTransformsCarriesItsClipPathAlong) {
    auto r = read(kFile);
    ASSERT_TRUE(r->ok) << r->error;
    Art *a = byId(r->doc, "a");
    // A quarter turn about the document's origin, as the rotate tool asks.
    const AIRealMatrix turn{0, 1, -1, 0, 0, 0};
    ASSERT_TRUE(transformArt(*a, turn, 1, 0));
    const std::string written = svgOf(r->doc);
    const size_t at = written.find("id='a'");
    ASSERT_NE(at, std::string::npos);
    const std::string rect = written.substr(written.rfind('<', at), written.find('>', at) - written.rfind('<', at) + 1);
    // Still the rect as written, which the turn now places: about the
    // document's origin, in the group's space. The clip path turns along.
    EXPECT_EQ(rect, "<rect id='a' class='st0' x='0' y='0' width='40' height='20' filter='url(#blur)' "
                    "clip-path='url(#clip)' transform=\"rotate(-90 -10 -5)\"/>");
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    const Art *again = byId(back->doc, "a");
    ASSERT_EQ(again->segments.size(), a->segments.size());
    for (size_t k = 0; k < a->segments.size(); ++k) {
        EXPECT_NEAR(again->segments[k].p.h, a->segments[k].p.h, 1e-4);
        EXPECT_NEAR(again->segments[k].p.v, a->segments[k].p.v, 1e-4);
    }
}

TEST(SvgWriteBack, AChangedTextKeepsItsSpansAndTakesTheChangeOnItsElement) {
    auto r = read(kFile);
    ASSERT_TRUE(r->ok) << r->error;
    Art *t = byId(r->doc, "t");
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->type, kTextArt);
    const AIRealMatrix turn{0, 1, -1, 0, 0, 0};
    ASSERT_TRUE(transformArt(*t, turn, 1, 0));
    t->style.fillPaint = 1;
    t->style.fill.color.kind = kThreeColor;
    t->style.fill.color.c.rgb = {1, 0, 0};
    const std::string written = svgOf(r->doc);
    // The span and its markup stay; the turn is the element's transform and
    // the new fill its style.
    EXPECT_NE(written.find("<tspan font-weight='bold'>bold</tspan> word</text>"), std::string::npos) << written;
    const size_t at = written.find("id='t'");
    ASSERT_NE(at, std::string::npos);
    const std::string tag = written.substr(written.rfind('<', at), written.find('>', at) - written.rfind('<', at) + 1);
    EXPECT_NE(tag.find(" transform=\"rotate(-90)\""), std::string::npos) << tag;
    EXPECT_NE(tag.find("fill:#ff0000"), std::string::npos) << tag;
    EXPECT_NE(tag.find("x='10' y='95'"), std::string::npos) << tag;
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    const Art *again = byId(back->doc, "t");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->text, t->text);
    EXPECT_NEAR(again->matrix.a, t->matrix.a, 1e-6);
    EXPECT_NEAR(again->matrix.b, t->matrix.b, 1e-6);
    EXPECT_NEAR(again->matrix.c, t->matrix.c, 1e-6);
    EXPECT_NEAR(again->matrix.d, t->matrix.d, 1e-6);
    EXPECT_NEAR(again->frame.left, t->frame.left, 1e-4);
    EXPECT_NEAR(again->frame.bottom, t->frame.bottom, 1e-4);
}

TEST(SvgWriteBack, ASpanThatPaintsItselfTakesTheTextsNewPaint) {
    // As an editor writes a line of text: the paint on the span.
    auto r = read("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 50'>"
                  "<text id='t' x='5' y='20'><tspan x='5' y='20' style='font-size:12px;fill:#0000ff'>Hi</tspan>"
                  "</text></svg>");
    ASSERT_TRUE(r->ok) << r->error;
    Art *t = byId(r->doc, "t");
    ASSERT_NE(t, nullptr);
    t->style.fill.color.kind = kThreeColor;
    t->style.fill.color.c.rgb = {0, 1, 0};
    const std::string written = svgOf(r->doc);
    EXPECT_NE(written.find("<tspan x='5' y='20' style=\"font-size:12px;fill:#00ff00\">Hi</tspan>"), std::string::npos)
        << written;
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    EXPECT_FLOAT_EQ(byId(back->doc, "t")->style.fill.color.c.rgb.green, 1);
}

TEST(SvgWriteBack, AMovedUseOrImageKeepsItsPlacementAndTakesTheMoveAsItsTransform) {
    // A <use> and an image placed by x and y: what the host does comes on
    // top of that placement, never instead of it or twice.
    auto r = read("<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
                  "viewBox='0 0 100 100'><defs><rect id='r' width='10' height='10'/></defs>"
                  "<use id='u' x='20' y='30' xlink:href='#r'/>"
                  "<image id='i' x='50' y='60' width='8' height='4' xlink:href='pic.png'/></svg>");
    ASSERT_TRUE(r->ok) << r->error;
    const AIRealMatrix move{1, 0, 0, 1, 5, -7};  // 5 right, 7 down in SVG's terms
    for (const char *id : {"u", "i"}) {
        Art *a = byId(r->doc, id);
        ASSERT_NE(a, nullptr) << id;
        ASSERT_TRUE(transformArt(*a, move, 1, 0));
    }
    const std::string written = svgOf(r->doc);
    EXPECT_NE(written.find("<use id='u' x='20' y='30' xlink:href='#r' transform=\"translate(5 7)\"/>"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("<image id='i' x='50' y='60' width='8' height='4' xlink:href='pic.png' "
                           "transform=\"translate(5 7)\"/>"),
              std::string::npos)
        << written;
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    for (const char *id : {"u", "i"}) {
        const Art *was = byId(r->doc, id), *again = byId(back->doc, id);
        ASSERT_NE(again, nullptr) << id;
        AIRealRect a{}, b{};
        ASSERT_TRUE(artBounds(*was, a));
        ASSERT_TRUE(artBounds(*again, b));
        EXPECT_NEAR(a.left, b.left, 1e-4) << id;
        EXPECT_NEAR(a.top, b.top, 1e-4) << id;
    }
}

// A text of two lines as an editor writes it: a span per line.
const char kLines[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 200 100'>"
    "<text id='t' class='label' style='font-size:10px;fill:#000000' x='10' y='20'>"
    "<tspan id='l1' x='10' y='20'>First</tspan>\n<tspan id='l2' x='10' y='35' style='fill:#0000ff'>Second</tspan>"
    "</text></svg>";

std::vector<Art *> linesOf(Document &doc) {
    std::vector<Art *> lines;
    Art *t = byId(doc, "t");
    if (t && t->type == kGroupArt)
        for (Art *l = t->firstChild; l; l = l->next) lines.push_back(l);
    return lines;
}

TEST(SvgWriteBack, ALineRepaintedOrMovedStaysASpanOfItsText) {
    auto r = read(kLines);
    ASSERT_TRUE(r->ok) << r->error;
    std::vector<Art *> lines = linesOf(r->doc);
    ASSERT_EQ(lines.size(), 2u);
    lines[0]->style.fill.color.kind = kThreeColor;
    lines[0]->style.fill.color.c.rgb = {1, 0, 0};
    ASSERT_TRUE(transformArt(*lines[1], AIRealMatrix{1, 0, 0, 1, 4, -2}, 1, 0));
    const std::string written = svgOf(r->doc);
    // One text still, its spans in place: the first painted, the second moved.
    EXPECT_NE(written.find("<text id='t' class='label' style='font-size:10px;fill:#000000' x='10' y='20'>"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("<tspan id='l2' x=\"14\" y=\"37\" style='fill:#0000ff'>Second</tspan></text>"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("fill:#ff0000"), std::string::npos) << written;
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    std::vector<Art *> again = linesOf(back->doc);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_FLOAT_EQ(again[0]->style.fill.color.c.rgb.red, 1);
    EXPECT_FLOAT_EQ(again[0]->style.fill.color.c.rgb.blue, 0);
    EXPECT_NEAR(again[1]->frame.left, lines[1]->frame.left + 4, 1e-4);
    EXPECT_NEAR(again[1]->frame.bottom, lines[1]->frame.bottom - 2, 1e-4);
}

TEST(SvgWriteBack, ALineTurnedGetsATextOfItsOwnThatKeepsItsSpan) {
    auto r = read(kLines);
    ASSERT_TRUE(r->ok) << r->error;
    std::vector<Art *> lines = linesOf(r->doc);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_TRUE(transformArt(*lines[1], AIRealMatrix{0, 1, -1, 0, 0, 0}, 1, 0));
    lines[1]->opacity = 0.5f;
    const std::string written = svgOf(r->doc);
    // The text's id on a group of one text per line; each keeps the text's
    // class and style and its span as written.
    EXPECT_NE(written.find("<g id='t'><text class='label' x='10' y='20' style=\"font-size:10px;fill:#000000;\">"
                           "<tspan id='l1' x='10' y='20'>First</tspan></text>"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("<tspan id='l2' x='10' y='35' style='fill:#0000ff'>Second</tspan></text></g>"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("transform=\"matrix(0 -1 1 0 0 0)\""), std::string::npos) << written;
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    std::vector<Art *> again = linesOf(back->doc);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[1]->text, "Second");
    EXPECT_FLOAT_EQ(again[1]->opacity, 0.5f);
    EXPECT_NEAR(again[1]->matrix.b, 1, 1e-6);
    EXPECT_NEAR(again[1]->matrix.c, -1, 1e-6);
    EXPECT_FLOAT_EQ(again[1]->style.fill.color.c.rgb.blue, 1);
    EXPECT_EQ(again[0]->text, "First");
    EXPECT_TRUE(again[0]->matrix.a == 1 && again[0]->matrix.b == 0);
}

TEST(SvgWriteBack, ATextWhoseLinesShareItsPaintTurnsWholeAndKeepsItsSpans) {
    // An editor's text of several lines: words of its own (with a raised
    // span) and a placed line, all in the text's paint. One text object: a
    // turn is the text element's transform, its spans stay as written.
    const char svg[] = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 200 100'>"
                       "<text id='t' x='10' y='20' font-size='10' fill='navy'>e = mc<tspan baseline-shift='super'>2"
                       "</tspan><tspan id='l2' x='10' y='40' style='fill:navy'>next</tspan></text></svg>";
    auto r = read(svg);
    ASSERT_TRUE(r->ok) << r->error;
    Art *t = byId(r->doc, "t");
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->type, kTextArt);
    EXPECT_EQ(t->text, "e = mc2\nnext");
    EXPECT_NEAR(t->frame.top, -12, 1e-5);     // the first line's top
    EXPECT_NEAR(t->frame.bottom, -42, 1e-5);  // the last line's bottom
    ASSERT_TRUE(transformArt(*t, AIRealMatrix{0, 1, -1, 0, 0, 0}, 1, kTransformObjects | kTransformPaints));
    const std::string written = svgOf(r->doc);
    const std::string source(svg);
    const std::string inner = source.substr(source.find(">e = mc"), source.find("</text>") - source.find(">e = mc"));
    EXPECT_NE(written.find(inner), std::string::npos) << written;
    EXPECT_NE(written.find("<text id='t' x='10' y='20' font-size='10' fill='navy' transform="), std::string::npos)
        << written;
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    const Art *again = byId(back->doc, "t");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->text, t->text);
    EXPECT_NEAR(again->matrix.b, 1, 1e-6);

    // Written from the model alone (as the studio shows it), each line
    // stays where it starts.
    const std::string preview = previewOf(r->doc);
    for (const char *line : {"<tspan x=\"10\" y=\"20\">e = mc2</tspan>", "<tspan x=\"10\" y=\"40\">next</tspan>"})
        EXPECT_NE(preview.find(line), std::string::npos) << preview;
}

}  // namespace
}  // namespace smear
