// Choosing art by the SVG element it was read from, with the simplest CSS
// selectors a user types: an element name (`rect`), a class (`.leaf`), an
// id (`#berry`), or an element name with classes (`path.vein.thin`).
#pragma once

#include <string>
#include <vector>

#include "document.h"

namespace smear {

struct SimpleSelector {
    std::string element;               // empty: any element
    std::string id;                    // empty: any id
    std::vector<std::string> classes;  // each must be in the element's class list
};

// False, with a message naming what is wrong, for text that is not such a
// selector (combinators, attribute selectors and pseudo-classes are not).
bool parseSimpleSelector(const std::string &text, SimpleSelector &out, std::string &error);

// The art of `doc` read from an element the selector matches, in document
// order. Art that came from no SVG element (inline documents, art made
// since) matches nothing.
std::vector<Art *> artMatching(Document &doc, const SimpleSelector &selector);

}  // namespace smear
