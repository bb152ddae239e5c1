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

// Limits on what a file may ask of the reader, so that a hostile or broken
// file costs bounded time, memory and stack: files larger than
// kSvgMaxFileBytes are refused; elements nested deeper than kSvgMaxDepth are
// reported and skipped with everything inside them; measuring what <use>
// elements show visits at most kSvgMaxExpanded elements in one file, past
// which each <use> still being measured is reported and keeps no frame.
constexpr size_t kSvgMaxFileBytes = size_t(256) << 20;
constexpr int kSvgMaxDepth = 256;
constexpr size_t kSvgMaxExpanded = 100000;

// The whole of a regular file of at most `limit` bytes. False, with
// `error`, for one that cannot be opened, is no regular file (a device, a
// pipe, a folder) or is larger than the limit.
bool readInputFile(const std::string &path, size_t limit, std::string &text, std::string &error);

// Reads a drawing into `doc`: its art goes on top of the current layer (or
// into new layers for layer groups the writer wrote). Elements that cannot
// be read are reported and skipped; everything else is kept. New art is not
// selected. False, with `error` set, for a file that cannot be read, is not
// well-formed XML or whose root is not <svg>; the document is then unchanged.
bool readSvgFile(const std::string &path, Document &doc, SvgReadReport &report, std::string &error);
bool readSvgString(const std::string &text, Document &doc, SvgReadReport &report, std::string &error);

// The whole document as an SVG file, art in paint order. A mesh is an SVG 2
// mesh gradient filling a path along its outline, with the exact vertices
// in data attributes. The root's viewBox always has a size: a page without
// area is replaced by the drawing's bounds, grown to at least a unit each
// way. False, with `text` empty and `error` naming the object and the
// value, when a number the file needs cannot be written (one that is not
// finite or lies past a float's range); nothing stands in for it.
bool writeSvg(const Document &doc, std::string &text, std::string &error);

// The same document for looking at, in renderers that draw no mesh
// gradients (browsers): each mesh is drawn as small patches coloured by
// bilinear interpolation of its vertex colours. Not meant to be read back.
// Fails as writeSvg does.
bool writeSvgPreview(const Document &doc, std::string &text, std::string &error);

}  // namespace smear
