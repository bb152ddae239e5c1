// The Art Style suite: the document's named graphic styles and the style and
// style factor of each art object.
#include <algorithm>
#include <cmath>

#include "suite_parts.h"
#include "suite_support.h"

namespace smear {

namespace {

const char *const kSuite = kAIArtStyleSuite;

// A style handle of the current document (a stale one from an older copy of
// the document is refused without being followed).
GraphicStyle *toDocumentStyle(AIArtStyleHandle h) {
    const auto &styles = currentDocument().graphicStyles;
    GraphicStyle *style = toGraphicStyle(h);
    return style && std::find(styles.begin(), styles.end(), style) != styles.end() ? style : nullptr;
}

void setPathStyleOfTree(Art &art, const AIPathStyle &style) {
    currentDocument().willChangePaint(art);
    art.style = style;
    for (Art *c = art.firstChild; c; c = c->next) setPathStyleOfTree(*c, style);
}

void setStrokeWidthOfTree(Art &art, AIReal width) {
    currentDocument().willChangePaint(art);
    art.style.stroke.width = width;
    for (Art *c = art.firstChild; c; c = c->next) setStrokeWidthOfTree(*c, width);
}

// A named style's stroke width scaled by the art's style factor; a width is
// never negative. False when the width is not a number or is too wide for a
// float.
bool scaledWidth(const GraphicStyle &style, AIReal factor, AIReal &width) {
    const double w = double(style.style.stroke.width) * double(factor);
    if (std::isnan(w)) return false;
    const double kept = w > 0 ? w : 0.0;
    if (!fitsFloat(kept)) return false;
    width = AIReal(kept);
    return true;
}

SPErr countNamedArtStyles(ASInt32 *count) {
    if (SPErr e = enterSuite(kSuite, "CountNamedArtStyles")) return e;
    if (!count) return kBadParameterErr;
    *count = ASInt32(currentDocument().graphicStyles.size());
    return kNoErr;
}

SPErr getNthNamedArtStyle(ASInt32 index, AIArtStyleHandle *style) {
    if (style) *style = nullptr;
    if (SPErr e = enterSuite(kSuite, "GetNthNamedArtStyle", logArgs([&] { return std::to_string(index); })))
        return e;
    const auto &styles = currentDocument().graphicStyles;
    if (!style) return kBadParameterErr;
    if (index < 0 || size_t(index) >= styles.size()) return kNoSuchEntryErr;
    *style = toHandle(styles[size_t(index)]);
    return kNoErr;
}

SPErr getArtStyle(AIArtHandle h, AIArtStyleHandle *style) {
    if (style) *style = nullptr;
    if (SPErr e = enterSuite(kSuite, "GetArtStyle")) return e;
    const Art *art = toArt(h);
    if (!art || !style) return kBadParameterErr;
    *style = toHandle(art->artStyle);
    return kNoErr;
}

// Styles are equivalent when they are the same style.
ASBoolean artStylesEquiv(AIArtStyleHandle a, AIArtStyleHandle b) {
    currentHost().log.record(kSuite, "ArtStylesEquiv");
    return a == b;
}

// Applying a style paints the art as the style says: its path style, with
// the stroke width scaled by the art's style factor (on the members of a
// compound path too; a group keeps its members' own) and its opacity.
SPErr setArtStyle(AIArtHandle h, AIArtStyleHandle styleHandle) {
    if (SPErr e = enterSuite(kSuite, "SetArtStyle")) return e;
    Art *art = nullptr;
    if (SPErr e = paintableArt(h, art)) return e;
    GraphicStyle *style = toDocumentStyle(styleHandle);
    if (!style) return kBadParameterErr;
    // The paint is worked out and checked whole before any of it is stored.
    AIPathStyle painted = style->style;
    if (!scaledWidth(*style, art->styleFactor, painted.stroke.width) || !isValidStyle(painted) ||
        !std::isfinite(style->opacity))
        return kBadParameterErr;
    art->artStyle = style;
    art->opacity = style->opacity;
    if (art->type == kCompoundPathArt) setPathStyleOfTree(*art, painted);
    else if (art->type != kGroupArt) art->style = painted;
    return kNoErr;
}

AIReal getStyleFactor(AIArtHandle h) {
    currentHost().log.record(kSuite, "GetStyleFactor");
    const Art *art = toArt(h);
    return art ? art->styleFactor : 1.0f;
}

SPErr setStyleFactor(AIArtHandle h, AIReal factor) {
    if (SPErr e = enterSuite(kSuite, "SetStyleFactor", logArgs([&] { return std::to_string(factor); }))) return e;
    Art *art = nullptr;
    if (SPErr e = paintableArt(h, art)) return e;
    if (!std::isfinite(factor)) return kBadParameterErr;
    // The factor scales the stroke width of the art's named style; art
    // without one keeps its paint (and the factor, for a style it gets later).
    const GraphicStyle *style = toDocumentStyle(toHandle(art->artStyle));
    const bool restroke = style && art->type != kGroupArt;
    AIReal width = 0;
    if (restroke && !scaledWidth(*style, factor, width)) return kBadParameterErr;
    art->styleFactor = factor;
    if (restroke) setStrokeWidthOfTree(*art, width);
    return kNoErr;
}

SPErr getArtStyleName(AIArtStyleHandle h, char *name, ASInt32 maxLength) {
    if (SPErr e = enterSuite(kSuite, "GetArtStyleName")) return e;
    const GraphicStyle *style = toDocumentStyle(h);
    if (!style) return kBadParameterErr;
    return copyText(style->name, name, maxLength);
}

const AIArtStyleSuite kTable = {
    countNamedArtStyles, getNthNamedArtStyle, getArtStyle,    artStylesEquiv,
    setArtStyle,         getStyleFactor,      setStyleFactor, getArtStyleName,
};

}  // namespace

void registerArtStyleSuite(SuiteRegistry &r) { r.add(kAIArtStyleSuite, kAIArtStyleSuiteVersion, &kTable); }

}  // namespace smear
