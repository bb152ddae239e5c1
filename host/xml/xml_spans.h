// Where each element of an XML text lies, byte by byte, so that a writer can
// copy a file it read and change only some attributes or elements of it.
// It checks only what it must to find the spans (tags, quotes, comments,
// CDATA, processing instructions, the doctype with its internal subset);
// the text is expected to have been read by a full XML parser first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace smear {

struct XmlAttributeSpan {
    size_t nameBegin = 0, nameEnd = 0;
    // The value between its quotes, as written (entities not expanded).
    size_t valueBegin = 0, valueEnd = 0;
};

struct XmlElementSpan {
    size_t open = 0;      // the '<' of the start tag
    size_t openEnd = 0;   // just past the start tag's '>'
    size_t close = 0;     // the '<' of the end tag; openEnd for an empty-element tag
    size_t end = 0;       // just past the element
    size_t nameBegin = 0, nameEnd = 0;
    bool selfClosing = false;
    int parent = -1;  // index of the enclosing element, -1 for the root
    std::vector<XmlAttributeSpan> attributes;
};

// Every element of `text` in document order (the order of their start
// tags). False when the text is not markup this scan understands; `spans`
// is then incomplete.
bool scanXmlSpans(std::string_view text, std::vector<XmlElementSpan> &spans);

// The text markup stands for: the five predefined entities and character
// references expanded (others are left as written).
std::string xmlText(std::string_view markup);

}  // namespace smear
