// SVG markup made inert before the studio hands it to a browser: a drawing
// is a file someone shared, and a browser runs what SVG may carry (scripts,
// event handlers, javascript: links, HTML inside foreignObject) with the
// rights of the page that shows it. Everything the studio serves that holds
// the drawing's markup, whole or in pieces, goes through here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace smear {

struct SvgSanitizeOptions {
    // A piece of a drawing (one or more elements, no root) as it will be put
    // into the studio's SVG: unprefixed names are SVG, and the xlink prefix
    // is known.
    bool fragment = false;
};

struct SvgSanitizeResult {
    std::string markup;       // what may be shown; empty when `error` is set
    std::string error;        // the markup is no XML, or (whole) its root is not SVG's <svg>
    size_t removedElements = 0;    // elements taken out with everything in them
    size_t removedAttributes = 0;  // attributes taken out of elements that stay
};

// Takes out, whatever their case or namespace prefix:
//   - elements outside the SVG namespace (HTML, unknown vocabularies),
//     script, foreignObject, handler and listener, with all they hold;
//   - animations that would set a link or an event handler;
//   - event-handler attributes (on...);
//   - links (href, src) to javascript:, vbscript: or data: other than
//     raster images, however spaced or escaped;
//   - processing instructions (style sheets that transform) and DOCTYPEs.
// Everything else is kept as it was, so the drawing looks the same.
SvgSanitizeResult sanitizeSvg(std::string_view markup, const SvgSanitizeOptions &options = {});

}  // namespace smear
