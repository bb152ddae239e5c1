// Changes to an XML text that keep every byte they do not touch: attributes
// set or removed inside a start tag (the others, their order, quotes and
// spacing kept), CSS properties set or removed inside a style attribute,
// elements renamed, removed, or given new neighbours and children. The SVG
// writer uses it to write back a file it read, changed only where the
// drawing changed.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xml_spans.h"

namespace smear {

// A style attribute's declarations as written, split at the semicolons that
// are not inside quotes or brackets (url("a;b") is one value).
std::vector<std::string_view> cssDeclarations(std::string_view style);
// A declaration's property name, trimmed and in lower case ("" for none).
std::string cssPropertyName(std::string_view declaration);

// The markup with `prefix` ("svg:") before the name of every element that
// has no prefix of its own, in start and end tags: for markup placed in a
// file whose elements are written with a prefix.
std::string withElementPrefix(std::string_view markup, const std::string &prefix);

// The namespace declarations (xmlns:P="URI") of an element's start tag, as
// prefix by URI, and its default namespace ("" when it declares none).
struct XmlNamespaces {
    std::map<std::string, std::string> prefixByUri;
    std::string defaultUri;
};
XmlNamespaces declaredNamespaces(std::string_view text, const XmlElementSpan &element);

class XmlEdit {
public:
    // `spans` must be scanXmlSpans' result for `text`; both must outlive this.
    XmlEdit(std::string_view text, const std::vector<XmlElementSpan> &spans);

    // Values are plain text; they are escaped as they are written.
    void setAttribute(int element, const std::string &name, const std::string &value);
    void removeAttribute(int element, const std::string &name);
    // A property of the element's style attribute; the declarations around
    // it are kept as written. A style left without declarations is removed.
    void setStyleProperty(int element, const std::string &property, const std::string &value);
    void removeStyleProperty(int element, const std::string &property);
    // The element's value of a property in its style attribute, as written.
    std::optional<std::string> styleProperty(int element, const std::string &property) const;
    // The attribute's value as written (entities not expanded), if present.
    std::optional<std::string> attribute(int element, const std::string &name) const;

    void rename(int element, const std::string &name);
    // The element with everything inside it; changes inside are dropped.
    void remove(int element);
    // Markup placed right after the element, or as its first or last child
    // (an empty-element tag becomes a start and an end tag).
    void insertAfter(int element, const std::string &markup);
    void prependChild(int element, const std::string &markup);
    void appendChild(int element, const std::string &markup);

    bool removed(int element) const;
    // The text with every change made.
    std::string apply() const;

private:
    struct Element {
        std::map<std::string, std::optional<std::string>> attributes;  // nullopt: removed
        std::vector<std::string> order;  // attributes added, in the order first set
        std::map<std::string, std::optional<std::string>> style;
        std::vector<std::string> styleOrder;
        std::optional<std::string> name;
        bool removed = false;
        std::string after, first, last;
    };
    Element &at(int element);
    std::string startTag(int index, const Element &e) const;
    std::string styleText(int index, const Element &e) const;
    bool insideRemoved(int element) const;

    std::string_view text_;
    const std::vector<XmlElementSpan> &spans_;
    std::map<int, Element> edits_;
};

}  // namespace smear
