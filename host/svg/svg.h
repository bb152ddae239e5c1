// SVG in and out of the document model.
//
// Coordinates: document space is the SVG file's user space (the root's
// viewBox units) with the vertical axis flipped, so SVG (x, y) is document
// (x, -y). The root's viewBox, width and height are kept as written and
// written back; the artboard is the viewBox (else width and height, else the
// drawing's bounds) in document space. Transforms are applied to geometry
// as it is read, so the document holds absolute coordinates; a path
// element's own transform is also kept with its art, and the writer writes
// the path in that transform's coordinates again.
#pragma once

#include <string>
#include <vector>

#include "document.h"

namespace smear {

struct SvgReadReport {
    // What could not be read, one line each, naming the element and why:
    // "element <ellipse id=e3>: rx is negative; skipped".
    std::vector<std::string> problems;
};

#ifndef SMEAR_NO_SVG_READER
// Reads a drawing into `doc`: its art goes on top of the current layer (or
// into new layers for layer groups the writer wrote). Elements that cannot
// be read are reported and skipped; everything else is kept. New art is not
// selected. False, with `error` set, for a file that cannot be read, is not
// well-formed XML or whose root is not <svg>; the document is then unchanged.
bool readSvgFile(const std::string &path, Document &doc, SvgReadReport &report, std::string &error);
bool readSvgString(const std::string &text, Document &doc, SvgReadReport &report, std::string &error);
#endif

// The whole document as an SVG file, art in paint order. A mesh is an SVG 2
// mesh gradient filling a path along its outline, with the exact vertices
// in data attributes.
std::string writeSvg(const Document &doc);

// The same document for looking at, in renderers that draw no mesh
// gradients (browsers): each mesh is drawn as small patches coloured by
// bilinear interpolation of its vertex colours. Not meant to be read back.
std::string writeSvgPreview(const Document &doc);

}  // namespace smear
