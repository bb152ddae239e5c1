#include "xml_edit.h"

#include <algorithm>

#include "xml_out.h"

namespace smear {

namespace {

struct Replacement {
    size_t from, to;
    long rank;  // among replacements at one place: smaller first
    std::string text;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

std::string lowered(std::string s) {
    for (char &c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

}  // namespace

std::string cssPropertyName(std::string_view declaration) {
    const size_t colon = declaration.find(':');
    return colon == std::string_view::npos ? std::string() : lowered(trimmed(declaration.substr(0, colon)));
}

std::vector<std::string_view> cssDeclarations(std::string_view style) {
    std::vector<std::string_view> out;
    size_t start = 0;
    int depth = 0;
    char quote = 0;
    for (size_t i = 0; i < style.size(); ++i) {
        char c = style[i];
        if (c == '&') {
            // A reference, as written in markup: its ';' ends no declaration,
            // and one that stands for a quote opens or closes a string.
            const size_t end = style.find(';', i);
            if (end == std::string_view::npos || end - i > 12) continue;
            const std::string_view reference = style.substr(i, end + 1 - i);
            c = reference == "&apos;" || reference == "&#39;" || reference == "&#x27;" ? '\''
                : reference == "&quot;" || reference == "&#34;" || reference == "&#x22;" ? '"'
                                                                                          : 0;
            i = end;
            if (!c) continue;
        }
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && depth > 0) {
            --depth;
        } else if (c == ';' && depth == 0) {
            out.push_back(style.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(style.substr(start));
    return out;
}

std::string withElementPrefix(std::string_view markup, const std::string &prefix) {
    std::vector<XmlElementSpan> spans;
    if (prefix.empty() || !scanXmlSpans(markup, spans)) return std::string(markup);
    std::vector<size_t> at;  // where a name without a prefix begins
    for (const XmlElementSpan &e : spans) {
        if (markup.substr(e.nameBegin, e.nameEnd - e.nameBegin).find(':') != std::string_view::npos) continue;
        at.push_back(e.nameBegin);
        if (!e.selfClosing) at.push_back(e.close + 2);  // past "</"
    }
    std::sort(at.begin(), at.end());
    std::string out;
    size_t from = 0;
    for (size_t k : at) {
        out.append(markup.substr(from, k - from));
        out += prefix;
        from = k;
    }
    out.append(markup.substr(from));
    return out;
}

XmlNamespaces declaredNamespaces(std::string_view text, const XmlElementSpan &element) {
    XmlNamespaces out;
    for (const XmlAttributeSpan &a : element.attributes) {
        const std::string_view name = text.substr(a.nameBegin, a.nameEnd - a.nameBegin);
        const std::string value = xmlText(text.substr(a.valueBegin, a.valueEnd - a.valueBegin));
        if (name == "xmlns") out.defaultUri = value;
        else if (name.compare(0, 6, "xmlns:") == 0 && !out.prefixByUri.count(value))
            out.prefixByUri[value] = std::string(name.substr(6));
    }
    return out;
}

XmlEdit::XmlEdit(std::string_view text, const std::vector<XmlElementSpan> &spans) : text_(text), spans_(spans) {}

XmlEdit::Element &XmlEdit::at(int element) { return edits_[element]; }

void XmlEdit::setAttribute(int element, const std::string &name, const std::string &value) {
    Element &e = at(element);
    if (!e.attributes.count(name)) e.order.push_back(name);
    e.attributes[name] = value;
}

void XmlEdit::removeAttribute(int element, const std::string &name) {
    Element &e = at(element);
    if (!e.attributes.count(name)) e.order.push_back(name);
    e.attributes[name] = std::nullopt;
}

void XmlEdit::setStyleProperty(int element, const std::string &property, const std::string &value) {
    Element &e = at(element);
    if (!e.style.count(property)) e.styleOrder.push_back(property);
    e.style[property] = value;
}

void XmlEdit::removeStyleProperty(int element, const std::string &property) {
    Element &e = at(element);
    if (!e.style.count(property)) e.styleOrder.push_back(property);
    e.style[property] = std::nullopt;
}

std::optional<std::string> XmlEdit::attribute(int element, const std::string &name) const {
    for (const XmlAttributeSpan &a : spans_[size_t(element)].attributes)
        if (text_.substr(a.nameBegin, a.nameEnd - a.nameBegin) == name)
            return std::string(text_.substr(a.valueBegin, a.valueEnd - a.valueBegin));
    return std::nullopt;
}

std::optional<std::string> XmlEdit::styleProperty(int element, const std::string &property) const {
    const std::optional<std::string> style = attribute(element, "style");
    if (!style) return std::nullopt;
    for (std::string_view d : cssDeclarations(*style))
        if (cssPropertyName(d) == property) return trimmed(d.substr(d.find(':') + 1));
    return std::nullopt;
}

void XmlEdit::rename(int element, const std::string &name) { at(element).name = name; }

void XmlEdit::remove(int element) { at(element).removed = true; }

void XmlEdit::insertAfter(int element, const std::string &markup) { at(element).after += markup; }

void XmlEdit::prependChild(int element, const std::string &markup) { at(element).first += markup; }

void XmlEdit::appendChild(int element, const std::string &markup) { at(element).last += markup; }

bool XmlEdit::removed(int element) const {
    for (int i = element; i >= 0; i = spans_[size_t(i)].parent) {
        const auto it = edits_.find(i);
        if (it != edits_.end() && it->second.removed) return true;
    }
    return false;
}

bool XmlEdit::insideRemoved(int element) const {
    const int parent = spans_[size_t(element)].parent;
    return parent >= 0 && removed(parent);
}

std::string XmlEdit::styleText(int index, const Element &e) const {
    const std::optional<std::string> original = attribute(index, "style");
    std::vector<std::string> parts;
    std::vector<std::string> done;
    if (original) {
        for (std::string_view d : cssDeclarations(*original)) {
            const std::string name = cssPropertyName(d);
            const auto it = e.style.find(name);
            if (name.empty() || it == e.style.end()) {
                if (!trimmed(d).empty()) parts.emplace_back(d);
                continue;
            }
            done.push_back(name);
            if (it->second) parts.push_back(name + ":" + XmlOut::escape(*it->second, true));
        }
    }
    for (const std::string &name : e.styleOrder) {
        const auto &value = e.style.at(name);
        if (value && std::find(done.begin(), done.end(), name) == done.end())
            parts.push_back(name + ":" + XmlOut::escape(*value, true));
    }
    std::string out;
    for (const std::string &p : parts) out += (out.empty() ? "" : ";") + p;
    return out;
}

std::string XmlEdit::startTag(int index, const Element &e) const {
    const XmlElementSpan &s = spans_[size_t(index)];
    std::string out = "<" + (e.name ? *e.name : std::string(text_.substr(s.nameBegin, s.nameEnd - s.nameBegin)));
    size_t at = s.nameEnd;
    const bool restyled = !e.style.empty();
    bool hadStyle = false;
    for (const XmlAttributeSpan &a : s.attributes) {
        const std::string_view blank = text_.substr(at, a.nameBegin - at);
        const std::string name(text_.substr(a.nameBegin, a.nameEnd - a.nameBegin));
        at = a.valueEnd + 1;
        if (name == "style" && restyled) {
            hadStyle = true;
            const std::string style = styleText(index, e);
            if (!style.empty()) out += std::string(blank) + "style=\"" + style + "\"";
            continue;
        }
        const auto it = e.attributes.find(name);
        if (it == e.attributes.end()) {
            out += text_.substr(a.nameBegin - blank.size(), at - (a.nameBegin - blank.size()));
        } else if (it->second) {
            out += std::string(blank) + name + "=\"" + XmlOut::escape(*it->second, true) + "\"";
        }
    }
    for (const std::string &name : e.order) {
        const auto &value = e.attributes.at(name);
        if (!value || attribute(index, name)) continue;
        out += " " + name + "=\"" + XmlOut::escape(*value, true) + "\"";
    }
    if (restyled && !hadStyle) {
        const std::string style = styleText(index, e);
        if (!style.empty()) out += " style=\"" + style + "\"";
    }
    std::string tail(text_.substr(at, s.openEnd - at));
    const bool gainsChildren = s.selfClosing && (!e.first.empty() || !e.last.empty());
    if (gainsChildren) {
        const size_t slash = tail.rfind('/');
        tail.erase(slash, 1);
        std::string name = e.name ? *e.name : std::string(text_.substr(s.nameBegin, s.nameEnd - s.nameBegin));
        tail += e.first + e.last + "</" + name + ">";
    }
    return out + tail;
}

std::string XmlEdit::apply() const {
    std::vector<Replacement> todo;
    for (const auto &[index, e] : edits_) {
        if (insideRemoved(index)) continue;
        const XmlElementSpan &s = spans_[size_t(index)];
        long depth = 0;
        for (int p = s.parent; p >= 0; p = spans_[size_t(p)].parent) ++depth;
        if (e.removed) {
            todo.push_back({s.open, s.end, 3000000, e.after});
            continue;
        }
        const bool tagChanged = !e.attributes.empty() || !e.style.empty() || e.name;
        if (s.selfClosing) {
            if (tagChanged || !e.first.empty() || !e.last.empty())
                todo.push_back({s.open, s.openEnd, 3000000, startTag(index, e)});
        } else {
            if (tagChanged) todo.push_back({s.open, s.openEnd, 3000000, startTag(index, e)});
            if (!e.first.empty()) todo.push_back({s.openEnd, s.openEnd, 2000000 - depth, e.first});
            if (e.name) todo.push_back({s.close, s.end, 3000000, e.last + "</" + *e.name + ">"});
            else if (!e.last.empty()) todo.push_back({s.close, s.close, 2000000 - depth, e.last});
        }
        // After the element: before its parent's new last children.
        if (!e.after.empty()) todo.push_back({s.end, s.end, 1000000 - depth, e.after});
    }
    std::stable_sort(todo.begin(), todo.end(), [](const Replacement &a, const Replacement &b) {
        return a.from != b.from ? a.from < b.from : a.rank < b.rank;
    });
    std::string out;
    size_t at = 0;
    for (const Replacement &r : todo) {
        if (r.from < at) continue;  // inside a span already replaced
        out.append(text_.substr(at, r.from - at));
        out += r.text;
        at = r.to;
    }
    out.append(text_.substr(at));
    return out;
}

}  // namespace smear
