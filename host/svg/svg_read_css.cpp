// CSS as SVG files carry it: declaration lists (style attributes) and
// style sheets of rules.
#include <algorithm>
#include <cctype>

#include "svg_numbers.h"
#include "svg_read_internal.h"
#include "xml_edit.h"

namespace smear::svg {

std::vector<CssDeclaration> parseDeclarations(std::string_view text) {
    std::vector<CssDeclaration> out;
    for (const std::string_view decl : cssDeclarations(text)) {
        const size_t colon = decl.find(':');
        if (colon == std::string_view::npos) continue;
        CssDeclaration d;
        d.name = lower(trim(decl.substr(0, colon)));
        std::string_view value = trim(decl.substr(colon + 1));
        const size_t bang = value.rfind('!');
        if (bang != std::string_view::npos && lower(trim(value.substr(bang + 1))) == "important") {
            d.important = true;
            value = trim(value.substr(0, bang));
        }
        d.value = std::string(value);
        if (!d.name.empty()) out.push_back(std::move(d));
    }
    return out;
}

void StyleSheet::add(std::string_view css) {
    // Comments and the HTML comment markers old files wrap sheets in go first.
    std::string text;
    for (size_t i = 0; i < css.size();) {
        if (css.compare(i, 2, "/*") == 0) {
            const size_t end = css.find("*/", i + 2);
            i = end == std::string_view::npos ? css.size() : end + 2;
        } else if (css.compare(i, 4, "<!--") == 0) {
            i += 4;
        } else if (css.compare(i, 3, "-->") == 0) {
            i += 3;
        } else {
            text += css[i++];
        }
    }
    size_t i = 0;
    while (i < text.size()) {
        const size_t open = text.find('{', i);
        if (open == std::string::npos) break;
        const std::string_view prelude = trim(std::string_view(text).substr(i, open - i));
        // The block, with nested blocks (of at-rules) skipped as a whole.
        size_t close = open + 1;
        for (int depth = 1; close < text.size() && depth > 0; ++close) {
            if (text[close] == '{') ++depth;
            if (text[close] == '}') --depth;
        }
        const std::string_view body = std::string_view(text).substr(open + 1, close - open - 2);
        i = close;
        // Statements such as @import end at ';' and may stand before a rule.
        std::string_view selectors = prelude;
        while (!selectors.empty() && selectors.front() == '@' && selectors.find(';') != std::string_view::npos)
            selectors = trim(selectors.substr(selectors.find(';') + 1));
        if (selectors.empty()) continue;
        if (selectors.front() == '@') {
            // Block at-rules: fonts and animations do not draw; conditional
            // rules such as @media are not followed.
            if (lower(selectors.substr(0, 6)) == "@media" || lower(selectors.substr(0, 9)) == "@supports")
                unsupported.push_back(std::string(selectors));
            continue;
        }
        const std::vector<CssDeclaration> decls = parseDeclarations(body);
        size_t start = 0;
        while (start <= selectors.size()) {
            size_t comma = selectors.find(',', start);
            if (comma == std::string_view::npos) comma = selectors.size();
            const std::string_view one = trim(selectors.substr(start, comma - start));
            start = comma + 1;
            if (one.empty()) continue;
            Selector sel;
            if (!parseSelector(one, sel)) {
                unsupported.push_back(std::string(one));
                continue;
            }
            rules_.push_back({sel, rules_.size(), decls});
        }
    }
}

namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

std::string_view localOf(pugi::xml_node node) {
    std::string_view n = node.name();
    const size_t colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

pugi::xml_node previousElement(pugi::xml_node node) {
    for (pugi::xml_node p = node.previous_sibling(); p; p = p.previous_sibling())
        if (p.type() == pugi::node_element) return p;
    return {};
}

bool hasWord(std::string_view list, std::string_view word) {
    size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && isSpace(list[i])) ++i;
        size_t j = i;
        while (j < list.size() && !isSpace(list[j])) ++j;
        if (j > i && list.substr(i, j - i) == word) return true;
        i = j;
    }
    return false;
}

}  // namespace

bool StyleSheet::parseSelector(std::string_view one, Selector &sel) {
    size_t k = 0;
    auto word = [&]() {
        std::string w;
        while (k < one.size() && isNameChar(one[k])) w += one[k++];
        return w;
    };
    int ids = 0, types = 0;
    size_t others = 0;
    char combinator = 0;
    while (k < one.size()) {
        Compound c;
        c.combinator = combinator;
        bool any = false;
        if (one[k] == '*') {
            ++k;
            any = true;
        } else if (isNameChar(one[k])) {
            c.type = word();
            any = true;
            ++types;
        }
        while (k < one.size() && !isSpace(one[k]) && one[k] != '>' && one[k] != '+' && one[k] != '~') {
            const char m = one[k++];
            if (m == '.' || m == '#') {
                const std::string w = word();
                if (w.empty()) return false;
                if (m == '.') c.classes.push_back(w), ++others;
                else if (c.id.empty()) c.id = w, ++ids;
                else return false;
            } else if (m == '[') {
                AttributeTest t;
                while (k < one.size() && isSpace(one[k])) ++k;
                t.name = word();
                while (k < one.size() && isSpace(one[k])) ++k;
                if (t.name.empty() || k >= one.size()) return false;
                if (one[k] != ']') {
                    if (std::string_view("~|^$*").find(one[k]) != std::string_view::npos) t.op = one[k++];
                    if (k >= one.size() || one[k] != '=') return false;
                    ++k;
                    if (!t.op) t.op = '=';
                    while (k < one.size() && isSpace(one[k])) ++k;
                    if (k < one.size() && (one[k] == '"' || one[k] == '\'')) {
                        const char q = one[k++];
                        const size_t end = one.find(q, k);
                        if (end == std::string_view::npos) return false;
                        t.value = std::string(one.substr(k, end - k));
                        k = end + 1;
                    } else {
                        t.value = word();
                    }
                    while (k < one.size() && isSpace(one[k])) ++k;
                    if (k >= one.size() || one[k] != ']') return false;
                }
                ++k;
                c.attributes.push_back(t);
                ++others;
            } else if (m == ':') {
                if (word() != "first-child") return false;
                c.firstChild = true;
                ++others;
            } else {
                return false;
            }
            any = true;
        }
        if (!any) return false;
        sel.compounds.push_back(c);
        // The combinator to the next compound, if any.
        bool spaced = false;
        while (k < one.size() && isSpace(one[k])) ++k, spaced = true;
        combinator = ' ';
        if (k < one.size() && (one[k] == '>' || one[k] == '+' || one[k] == '~')) {
            combinator = one[k++];
            while (k < one.size() && isSpace(one[k])) ++k;
            if (k >= one.size()) return false;
        } else if (!spaced && k < one.size()) {
            return false;
        }
    }
    if (sel.compounds.empty()) return false;
    sel.specificity = {ids, others, types};
    return true;
}

bool StyleSheet::matchesCompound(const Compound &c, pugi::xml_node node, std::string_view localName) {
    if (!c.type.empty() && c.type != localName) return false;
    if (!c.id.empty() && c.id != node.attribute("id").value()) return false;
    const std::string_view classes = node.attribute("class").value();
    for (const std::string &cls : c.classes)
        if (!hasWord(classes, cls)) return false;
    for (const AttributeTest &t : c.attributes) {
        const pugi::xml_attribute a = node.attribute(t.name.c_str());
        if (a.empty()) return false;
        const std::string_view v = a.value();
        const std::string_view w = t.value;
        bool ok = true;
        switch (t.op) {
        case '=': ok = v == w; break;
        case '~': ok = hasWord(v, w); break;
        case '|': ok = v == w || (v.size() > w.size() && v.substr(0, w.size()) == w && v[w.size()] == '-'); break;
        case '^': ok = !w.empty() && v.substr(0, w.size()) == w; break;
        case '$': ok = !w.empty() && v.size() >= w.size() && v.substr(v.size() - w.size()) == w; break;
        case '*': ok = !w.empty() && v.find(w) != std::string_view::npos; break;
        default: break;
        }
        if (!ok) return false;
    }
    return !c.firstChild || !previousElement(node);
}

bool StyleSheet::matches(const Selector &s, size_t last, pugi::xml_node node, std::string_view localName) {
    const Compound &c = s.compounds[last];
    if (!matchesCompound(c, node, localName)) return false;
    if (last == 0) return true;
    switch (c.combinator) {
    case '>': {
        const pugi::xml_node p = node.parent();
        return p.type() == pugi::node_element && matches(s, last - 1, p, localOf(p));
    }
    case '+': {
        const pugi::xml_node p = previousElement(node);
        return p && matches(s, last - 1, p, localOf(p));
    }
    case '~':
        for (pugi::xml_node p = previousElement(node); p; p = previousElement(p))
            if (matches(s, last - 1, p, localOf(p))) return true;
        return false;
    default:
        for (pugi::xml_node p = node.parent(); p.type() == pugi::node_element; p = p.parent())
            if (matches(s, last - 1, p, localOf(p))) return true;
        return false;
    }
}

void StyleSheet::matching(pugi::xml_node node, std::string_view localName,
                          std::vector<const CssDeclaration *> &out) const {
    if (rules_.empty()) return;
    std::vector<const Rule *> hits;
    for (const Rule &r : rules_)
        if (matches(r.selector, r.selector.compounds.size() - 1, node, localName)) hits.push_back(&r);
    std::stable_sort(hits.begin(), hits.end(), [](const Rule *a, const Rule *b) {
        return a->selector.specificity != b->selector.specificity ? a->selector.specificity < b->selector.specificity
                                                                  : a->order < b->order;
    });
    for (const Rule *r : hits)
        for (const CssDeclaration &d : r->declarations) out.push_back(&d);
}

}  // namespace smear::svg
