// The SVG file a document was read from, kept with the document so that
// writing it back copies every byte the drawing did not change: elements
// the model does not hold (filters, masks, metadata, comments ...),
// attributes it does not know, and the markup of art that was not touched.
#pragma once

#include <string>
#include <vector>

#include "svg_affine.h"
#include "xml_spans.h"

namespace smear {

struct SvgSource {
    std::string text;
    std::vector<XmlElementSpan> elements;  // document order; 0 is the root
    // Per element: the map from its parent's user space to the document's
    // (SVG's y-down orientation), for writing changed geometry in the
    // element's own coordinates.
    std::vector<svg::Affine> parentToRoot;
    // Per element: how many art objects its markup held as read (the art
    // read from it and the parts inside it, such as compound members).
    std::vector<int> artCount;
    // The document's swatches and named styles as read; more are written
    // as new definitions.
    size_t swatches = 0, graphicStyles = 0;
};

}  // namespace smear
