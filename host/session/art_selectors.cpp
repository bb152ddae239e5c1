#include "art_selectors.h"

#include <cctype>
#include <string_view>

#include "svg_source.h"
#include "xml_spans.h"

namespace smear {

namespace {

bool nameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// The element's name without a namespace prefix ("svg:rect" is a rect).
std::string_view localName(std::string_view name) {
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool matches(const SvgSource &source, size_t index, const SimpleSelector &selector) {
    const XmlElementSpan &e = source.elements[index];
    const std::string_view text = source.text;
    if (!selector.element.empty() &&
        localName(text.substr(e.nameBegin, e.nameEnd - e.nameBegin)) != selector.element)
        return false;
    std::string id, classes;
    for (const XmlAttributeSpan &a : e.attributes) {
        const std::string_view name = text.substr(a.nameBegin, a.nameEnd - a.nameBegin);
        const std::string_view value = text.substr(a.valueBegin, a.valueEnd - a.valueBegin);
        if (name == "id") id = xmlText(value);
        else if (name == "class") classes = " " + xmlText(value) + " ";
    }
    if (!selector.id.empty() && id != selector.id) return false;
    for (char &c : classes)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    for (const std::string &c : selector.classes)
        if (classes.find(" " + c + " ") == std::string::npos) return false;
    return true;
}

}  // namespace

bool parseSimpleSelector(const std::string &text, SimpleSelector &out, std::string &error) {
    out = SimpleSelector{};
    size_t i = 0;
    auto name = [&]() {
        const size_t begin = i;
        while (i < text.size() && nameChar(text[i])) ++i;
        return text.substr(begin, i - begin);
    };
    out.element = name();
    while (i < text.size()) {
        const char kind = text[i++];
        const std::string word = name();
        if ((kind != '.' && kind != '#') || word.empty()) {
            error = "'" + text + "' is not a selector this command knows: an element name (rect), a class (.leaf), "
                    "an id (#berry) or an element with classes (path.vein)";
            return false;
        }
        if (kind == '.') out.classes.push_back(word);
        else if (!out.id.empty() && out.id != word) {
            error = "'" + text + "' names two ids";
            return false;
        } else out.id = word;
    }
    if (out.element.empty() && out.id.empty() && out.classes.empty()) {
        error = "an empty selector";
        return false;
    }
    return true;
}

std::vector<Art *> artMatching(Document &doc, const SimpleSelector &selector) {
    std::vector<Art *> found;
    if (!doc.svgSource) return found;
    const SvgSource &source = *doc.svgSource;
    doc.forEachArt([&](Art &a) {
        if (a.sourceCopy || a.sourceElement < 0 || size_t(a.sourceElement) >= source.elements.size()) return;
        if (matches(source, size_t(a.sourceElement), selector)) found.push_back(&a);
    });
    return found;
}

}  // namespace smear
