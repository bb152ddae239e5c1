// The demo's HTML gallery: the sample drawing before, and after one stroke of
// each tool.
#pragma once

#include <string>
#include <vector>

namespace smear {

// The brush's path, drawn over each after picture: a straight stroke from
// (x1, y1) to (x2, y2) of a brush with half-sizes hx, hy, in the picture's
// own coordinates (its viewBox, SVG's y down).
struct GalleryStroke {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double hx = 0, hy = 0;
    std::string viewBox;  // "minX minY width height" of the pictures
};

struct GalleryEntry {
    std::string name;      // command-line name, "stroke-weight"
    std::string title;     // the palette title
    std::string tooltip;
    std::string settings;  // options the demo set, "rotateAngle=4", or empty
    std::string afterFile; // picture after the stroke, relative to the gallery
    std::string dialogFile; // picture of the tool's options dialog, empty when none
    bool changed = false;  // whether the stroke changed the drawing
    std::string report;    // the session report of the stroke
    GalleryStroke stroke;  // drawn over the after picture
};

// A self-contained page; pictures are referred to by file name.
std::string galleryHtml(const std::string &beforeFile, const std::string &strokeText,
                        const std::vector<GalleryEntry> &entries);

std::string htmlEscape(const std::string &text);

}  // namespace smear
