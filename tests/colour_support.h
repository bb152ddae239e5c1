// Colour records for the colour tool tests, and the objects they paint:
// one constructor per colour kind, plus an object whose brush weight is a
// known fraction.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "brush_support.h"

namespace smear {

inline AIColor processColour(AIReal c, AIReal m, AIReal y, AIReal k) {
    AIColor colour{};
    colour.kind = kFourColor;
    colour.c.f = AIFourColorStyle{c, m, y, k};
    return colour;
}

inline AIColor rgbColour(AIReal r, AIReal g, AIReal b) {
    AIColor colour{};
    colour.kind = kThreeColor;
    colour.c.rgb = AIThreeColorStyle{r, g, b};
    return colour;
}

inline AIColor grayColour(AIReal gray) {
    AIColor colour{};
    colour.kind = kGrayColor;
    colour.c.g.gray = gray;
    return colour;
}

// An unpainted colour whose component words hold values a tool that took
// it for ink would change.
inline AIColor noneColour() {
    AIColor colour{};
    colour.kind = kNoneColor;
    colour.c.f = AIFourColorStyle{0.25f, 0.25f, 0.25f, 0.25f};
    return colour;
}

inline AIColor customColour(CustomColor *custom, AIReal tint) {
    AIColor colour{};
    colour.kind = kCustomColor;
    colour.c.c.color = toHandle(custom);
    colour.c.c.tint = tint;
    return colour;
}

inline AIColor gradientColour(Gradient *gradient, AIReal angle, AIReal length, AIReal hiliteAngle,
                              AIReal hiliteLength) {
    AIColor colour{};
    colour.kind = kGradient;
    colour.c.b.gradient = toHandle(gradient);
    colour.c.b.gradientOrigin = AIRealPoint{3, 4};
    colour.c.b.gradientAngle = angle;
    colour.c.b.gradientLength = length;
    colour.c.b.matrix = AIRealMatrix{1, 0, 0, 1, 0, 0};
    colour.c.b.hiliteAngle = hiliteAngle;
    colour.c.b.hiliteLength = hiliteLength;
    return colour;
}

inline AIColor patternColour(Pattern *pattern, AIReal rotate, AIReal scaleH, AIReal scaleV) {
    AIColor colour{};
    colour.kind = kPattern;
    colour.c.p.pattern = toHandle(pattern);
    colour.c.p.shiftDist = 2;
    colour.c.p.shiftAngle = 45;
    colour.c.p.scale = AIRealPoint{scaleH, scaleV};
    colour.c.p.rotate = rotate;
    colour.c.p.transform = AIRealMatrix{1, 0, 0, 1, 0, 0};
    return colour;
}

inline Art *withFill(Art *a, const AIColor &colour) {
    a->style.fillPaint = 1;
    a->style.fill.color = colour;
    return a;
}

inline Art *withStroke(Art *a, const AIColor &colour) {
    a->style.strokePaint = 1;
    a->style.stroke.color = colour;
    return a;
}

inline AIFourColorStyle &process(Art *a) { return a->style.fill.color.c.f; }
inline AIThreeColorStyle &rgb(Art *a) { return a->style.fill.color.c.rgb; }

// With brush shape 5 ("up") and the default brush (half-sizes 50) at the
// origin, this rectangle's centre lies 10 above the brush's bottom edge:
// its weight is 10 / 50.
inline Art *addFifthWeightRect(Document &doc, AIReal left = -5) {
    return addRect(doc, left, -45, left + 10, -35);
}
const AIReal kFifthWeight = 10.0f / 50.0f;

// Pen pressure 51 of 255 with "Pressure modification" on: p = 51 x 1/255.
const AIReal kPressure51 = 51 * (1.0f / 255);

class ColourTest : public BrushTest {
protected:
    // One drag step at the origin with pen pressure 51, pressure modification on.
    void pressedStroke(int toolId) {
        g().pressureModification = 1;
        ASSERT_EQ(mouseDown(toolId, {0, 0}, 51), 0);
        ASSERT_EQ(drag(toolId, {0, 0}, 51), 0);
        ASSERT_EQ(mouseUp(toolId, {0, 0}, 51), 0);
        g().pressureModification = 0;
    }
};

// Whether two colours are the same record, field by field for the kind (so
// that padding plays no part).
inline bool sameColour(const AIColor &a, const AIColor &b) {
    if (a.kind != b.kind) return false;
    auto samePoint = [](AIRealPoint p, AIRealPoint q) { return p.h == q.h && p.v == q.v; };
    auto sameMatrix = [](const AIRealMatrix &m, const AIRealMatrix &n) {
        return m.a == n.a && m.b == n.b && m.c == n.c && m.d == n.d && m.tx == n.tx && m.ty == n.ty;
    };
    switch (a.kind) {
    case kCustomColor:
        return a.c.c.color == b.c.c.color && a.c.c.tint == b.c.c.tint;
    case kGradient:
        return a.c.b.gradient == b.c.b.gradient && samePoint(a.c.b.gradientOrigin, b.c.b.gradientOrigin) &&
               a.c.b.gradientAngle == b.c.b.gradientAngle && a.c.b.gradientLength == b.c.b.gradientLength &&
               sameMatrix(a.c.b.matrix, b.c.b.matrix) && a.c.b.hiliteAngle == b.c.b.hiliteAngle &&
               a.c.b.hiliteLength == b.c.b.hiliteLength;
    case kPattern:
        return a.c.p.pattern == b.c.p.pattern && a.c.p.shiftDist == b.c.p.shiftDist &&
               a.c.p.shiftAngle == b.c.p.shiftAngle && samePoint(a.c.p.scale, b.c.p.scale) &&
               a.c.p.rotate == b.c.p.rotate && a.c.p.reflect == b.c.p.reflect &&
               a.c.p.reflectAngle == b.c.p.reflectAngle && a.c.p.shearAngle == b.c.p.shearAngle &&
               a.c.p.shearAxis == b.c.p.shearAxis && sameMatrix(a.c.p.transform, b.c.p.transform);
    default:  // ink values; an unpainted colour keeps whatever its words held
        return a.c.f.cyan == b.c.f.cyan && a.c.f.magenta == b.c.f.magenta && a.c.f.yellow == b.c.f.yellow &&
               a.c.f.black == b.c.f.black;
    }
}

// The calls of `all` (as BrushTest::calls gives them) to the named
// functions, in their order.
inline std::vector<std::string> onlyCalls(const std::vector<std::string> &all,
                                          std::initializer_list<std::string> functions) {
    std::vector<std::string> out;
    for (const std::string &call : all) {
        const std::string function = call.substr(0, call.find(' '));
        for (const std::string &f : functions)
            if (f == function) out.push_back(call);
    }
    return out;
}

}  // namespace smear
