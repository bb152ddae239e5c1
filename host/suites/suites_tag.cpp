// The Tag suite: named values on art objects. A tag keeps its type and its
// value as text: "string" values as given, "integer" and "real" values (an
// ASInt32 or an AIReal the caller points at) in decimal.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "suite_parts.h"
#include "suite_support.h"

namespace smear {

namespace {

const char *const kSuite = kAITagSuite;

// The text a tag's value is kept as (reals with enough digits to read the
// same float back); `text` holds at least 32 bytes.
const char *valueText(TagType kind, const void *value, char *text) {
    if (kind == TagType::kString) return static_cast<const char *>(value);
    if (kind == TagType::kInteger) std::snprintf(text, 32, "%ld", long(*static_cast<const ASInt32 *>(value)));
    else std::snprintf(text, 32, "%.9g", double(*static_cast<const AIReal *>(value)));
    return text;
}

SPErr setTag(void *object, const char *name, const char *type, const void *value) {
    if (SPErr e = enterSuite(kSuite, "SetTag", logArgs([&] {
            std::string s = std::string(name ? name : "null") + " " + (type ? type : "null");
            if (type && value && std::strcmp(type, "string") == 0) s += " " + std::string(static_cast<const char *>(value));
            return s;
        })))
        return e;
    Art *art = toArt(static_cast<AIArtHandle>(object));
    if (!art || !name || !*name || !type || !value) return kBadParameterErr;
    const TagType kind = tagTypeOf(type);
    if (kind == TagType::kOther) return kBadParameterErr;
    // A real tag is a number of the document like any other: never one that is not finite.
    if (kind == TagType::kReal && !std::isfinite(*static_cast<const AIReal *>(value))) return kBadParameterErr;
    char buffer[32];
    const char *text = valueText(kind, value, buffer);
    // A tag that is there already is rewritten in place: the plug-in tags
    // every object a stroke reaches on every step, and that costs nothing.
    if (art->tags.holds(name, kind, text)) return kNoErr;
    currentDocument().willChangeTags(*art);
    art->tags.set(name, type, text);
    return kNoErr;
}

SPErr getTag(void *object, const char *name, const char *type, void *value, ASInt32 maxLength) {
    if (SPErr e = enterSuite(kSuite, "GetTag", logArgs([&] { return std::string(name ? name : "null"); }))) return e;
    const Art *art = toArt(static_cast<AIArtHandle>(object));
    if (!art || !name || !type || !value) return kBadParameterErr;
    const std::string *tagType = art->tags.type(name);
    if (!tagType) return kNoSuchEntryErr;
    if (*tagType != type) return kBadParameterErr;
    const TagText &text = *art->tags.value(name);
    if (*tagType == "string") return copyText(text, static_cast<char *>(value), maxLength);
    if (*tagType == "integer") {
        // The text is the tag's own, but checked: a whole number an ASInt32 holds.
        errno = 0;
        char *end = nullptr;
        const long long v = std::strtoll(text.c_str(), &end, 10);
        if (end == text.c_str() || *end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
            return kBadParameterErr;
        *static_cast<ASInt32 *>(value) = ASInt32(v);
    } else {
        *static_cast<AIReal *>(value) = std::strtof(text.c_str(), nullptr);
    }
    return kNoErr;
}

SPErr countTags(void *object, ASInt32 *count) {
    if (SPErr e = enterSuite(kSuite, "CountTags")) return e;
    const Art *art = toArt(static_cast<AIArtHandle>(object));
    if (!art || !count) return kBadParameterErr;
    *count = ASInt32(art->tags.size());
    return kNoErr;
}

const AITagSuite kTable = {setTag, getTag, countTags};

}  // namespace

void registerTagSuite(SuiteRegistry &r) { r.add(kAITagSuite, kAITagSuiteVersion, &kTable); }

}  // namespace smear
