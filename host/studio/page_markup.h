// Markup of the drawing made safe to put into the studio's own page: the
// page holds the drawing as live SVG in its document, where anything the
// file carried that runs (a script, an event attribute, a javascript: link,
// HTML inside a foreign object) would run with the studio's rights.
#pragma once

#include <string>

namespace smear {

// The markup (one or more elements, well-formed) without elements that run
// or hold foreign markup (script, foreignObject, iframe, object, embed and
// any element outside the SVG namespace's plain names), without on*
// attributes, and without links (href, xlink:href) to javascript: or data:
// documents other than images. Markup that holds none of these comes back
// as it was; markup that cannot be read comes back empty.
std::string pageSafeMarkup(const std::string &markup);

}  // namespace smear
