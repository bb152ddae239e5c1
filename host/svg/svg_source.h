// The SVG file a document was read from, kept with the document so that
// writing it back copies every byte the drawing did not change: elements
// the model does not hold (filters, masks, metadata, comments ...),
// attributes it does not know, and the markup of art that was not touched.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "hostapi.h"
#include "svg_affine.h"
#include "xml_encoding.h"
#include "xml_spans.h"

namespace smear {

// What the reader made of a shape element (path, rect, circle, ellipse,
// line, polyline, polygon), so that the writer can tell an element the host
// only moved, turned or scaled from one whose shape changed, and say only
// the paint that changed. Paint servers are named, never pointed to: the
// document that read them may be gone while a copy of it is written.
// How an element's art looked as read: what the writer compares the art's
// opacity, blend mode and visibility with.
struct SvgReadLook {
    AIReal opacity = 1;
    int blendMode = 0;
    bool hidden = false;
};

struct SvgReadShape {
    std::vector<std::vector<AIPathSegment>> parts;  // document space; a compound's members in order
    std::vector<bool> closed;
    svg::Box localBox;  // the outline's bounds in the element's own user space
    AIPathStyle style{};  // gradient, pattern and custom colour handles cleared
    // The fill and the stroke as colour tokens (with the gradient's or the
    // pattern's name and placement), "none" for no paint.
    std::string fillToken, strokeToken;
    std::string fillUrl, strokeUrl;        // the ids the element's paint refers to
    // The fill and stroke opacity the file says, and the alpha of the
    // colour each is painted with: the reader folds their product into the
    // art's opacity.
    double fillOpacity = 1, strokeOpacity = 1, fillAlpha = 1, strokeAlpha = 1;
};

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
    // Shape elements as read, by element.
    std::map<int, SvgReadShape> shapes;
    // Every element read as one art object, as it looked.
    std::map<int, SvgReadLook> looks;
    // The encoding the file was written in, and whether it began with a
    // byte order mark: `text` holds it as UTF-8, and a file written back
    // goes back into that encoding.
    TextEncoding encoding = TextEncoding::kUtf8;
    bool byteOrderMark = false;
};

}  // namespace smear
