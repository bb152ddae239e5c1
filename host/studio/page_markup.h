// Markup of the drawing made safe to put into the studio's own page: the
// page holds the drawing as live SVG in its document, where anything the
// file carried that runs (a script, an event attribute, a javascript: link,
// HTML inside a foreign object) would run with the studio's rights.
#pragma once

#include <string>

namespace smear {

// The markup (one or more elements, well-formed) as sanitizeSvg leaves a
// fragment. Most of what the writer sends holds nothing it would take out
// (no script, foreign element, event attribute, data: or javascript: link)
// and comes back as it was without being parsed, so that an answer costs
// what it carries; markup that cannot be read comes back empty.
std::string pageSafeMarkup(const std::string &markup);

}  // namespace smear
