// CSS as SVG files carry it: declaration lists (style attributes) and
// style sheets of rules with simple selectors.
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
            bool ok = true;
            size_t k = 0;
            auto word = [&]() {
                std::string w;
                while (k < one.size() && (std::isalnum(static_cast<unsigned char>(one[k])) || one[k] == '-' ||
                                          one[k] == '_' || static_cast<unsigned char>(one[k]) >= 0x80))
                    w += one[k++];
                return w;
            };
            if (k < one.size() && one[k] == '*') ++k;
            else if (k < one.size() && one[k] != '.' && one[k] != '#') sel.type = word();
            while (ok && k < one.size()) {
                const char c = one[k++];
                const std::string w = word();
                if (w.empty()) ok = false;
                else if (c == '.') sel.classes.push_back(w);
                else if (c == '#' && sel.id.empty()) sel.id = w;
                else ok = false;
            }
            if (!ok || (sel.type.empty() && one[0] != '*' && sel.id.empty() && sel.classes.empty())) {
                unsupported.push_back(std::string(one));
                continue;
            }
            sel.specificity = {sel.id.empty() ? 0 : 1, sel.classes.size(), sel.type.empty() ? 0 : 1};
            rules_.push_back({sel, rules_.size(), decls});
        }
    }
}

void StyleSheet::matching(pugi::xml_node node, std::string_view localName,
                          std::vector<const CssDeclaration *> &out) const {
    if (rules_.empty()) return;
    const std::string id = node.attribute("id").value();
    std::vector<std::string> classes;
    {
        const std::string all = node.attribute("class").value();
        size_t i = 0;
        while (i < all.size()) {
            while (i < all.size() && isSpace(all[i])) ++i;
            size_t j = i;
            while (j < all.size() && !isSpace(all[j])) ++j;
            if (j > i) classes.push_back(all.substr(i, j - i));
            i = j;
        }
    }
    std::vector<const Rule *> hits;
    for (const Rule &r : rules_) {
        const Selector &s = r.selector;
        if (!s.type.empty() && s.type != localName) continue;
        if (!s.id.empty() && s.id != id) continue;
        bool all = true;
        for (const std::string &c : s.classes)
            all = all && std::find(classes.begin(), classes.end(), c) != classes.end();
        if (all) hits.push_back(&r);
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Rule *a, const Rule *b) {
        return a->selector.specificity != b->selector.specificity ? a->selector.specificity < b->selector.specificity
                                                                  : a->order < b->order;
    });
    for (const Rule *r : hits)
        for (const CssDeclaration &d : r->declarations) out.push_back(&d);
}

}  // namespace smear::svg
