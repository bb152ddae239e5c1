// Art and strokes for the brush and effect tests: rectangles on the current
// layer, compound paths, and a stroke with a brush that reaches everything
// near the origin.
#pragma once

#include <string>
#include <vector>

#include "fixture.h"
#include "handles.h"

namespace smear {

inline Art *addRect(Document &doc, AIReal left, AIReal bottom, AIReal right, AIReal top, bool selected = true,
                    Art *parent = nullptr) {
    Art *a = doc.newArt(kPathArt);
    for (AIRealPoint p : {AIRealPoint{left, top}, {right, top}, {right, bottom}, {left, bottom}}) {
        AIPathSegment s{};
        s.p = s.in = s.out = p;
        s.corner = true;
        a->segments.push_back(s);
    }
    a->closed = true;
    a->userAttr = selected ? kArtSelected : 0;
    doc.link(a, kPlaceInsideOnTop, parent ? parent : doc.currentLayer()->root);
    return a;
}

inline Art *addCompound(Document &doc, bool selected = true) {
    Art *c = doc.newArt(kCompoundPathArt);
    c->userAttr = selected ? kArtSelected : 0;
    doc.link(c, kPlaceInsideOnTop, doc.currentLayer()->root);
    return c;
}

inline AIRealRect boundsOf(const Art *a) {
    AIRealRect r{};
    artBounds(*a, r);
    return r;
}

inline bool tagged(const Art *a) {
    return a->tags.holds("smearcraft", "string", "smearcraft");
}

#define EXPECT_RECT_EQ(r, l, b, rt, t)                                                                  \
    do {                                                                                                \
        AIRealRect r_ = (r);                                                                            \
        EXPECT_FLOAT_EQ(r_.left, l);                                                                    \
        EXPECT_FLOAT_EQ(r_.bottom, b);                                                                  \
        EXPECT_FLOAT_EQ(r_.right, rt);                                                                  \
        EXPECT_FLOAT_EQ(r_.top, t);                                                                     \
    } while (0)

class BrushTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        ASSERT_EQ(startup(), 0);
        g().showOutline = 0;  // tests that look at the outline turn it on
    }
    Document &doc() { return host.document(); }

    // Mouse down at the origin, `steps` drags at `at`, mouse up.
    void stroke(int toolId, AIRealPoint at = {0, 0}, int steps = 1, ASInt32 modifiers = 0) {
        ASSERT_EQ(mouseDown(toolId, {0, 0}), 0);
        for (int i = 0; i < steps; ++i) ASSERT_EQ(drag(toolId, at, 255, modifiers), 0);
        ASSERT_EQ(mouseUp(toolId, at), 0);
    }

    // The logged calls of one function, or of all when `function` is empty,
    // as "Function args".
    std::vector<std::string> calls(const std::string &function = {}) {
        std::vector<std::string> out;
        for (const SuiteCall &c : host.log.calls())
            if (function.empty() || c.function == function)
                out.push_back(c.function + (c.args.empty() ? "" : " " + c.args));
        return out;
    }
    long count(const std::string &function) { return long(calls(function).size()); }
};

}  // namespace smear
