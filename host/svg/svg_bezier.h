// Between SVG cubic subpaths and the document's path segments (anchor with
// in and out control points). Document space is SVG user space with the
// vertical axis flipped: SVG (x, y) is document (x, -y).
#pragma once

#include <string>
#include <vector>

#include "hostapi.h"
#include "svg_path_data.h"

namespace smear::svg {

struct DocumentPath {
    std::vector<AIPathSegment> segments;
    bool closed = false;
};

// Maps each subpath through `toSvgRoot` (the element's user space to the
// root's) and flips it into document space. Subpaths without a single
// drawing command (a lone moveto) draw nothing and are left out. A closed
// subpath whose last curve already ends at its start does not repeat that
// anchor: the closing curve then runs into the first anchor.
std::vector<DocumentPath> toDocumentPaths(const std::vector<Subpath> &subpaths, const Affine &toSvgRoot);

// Path data for a document path, in SVG coordinates: M, then L for straight
// segments and C for curved ones, and Z for a closed path. Numbers are the
// shortest text that reads back to the same float.
std::string pathData(const std::vector<AIPathSegment> &segments, bool closed);

// The same path in the user space of an element whose transform maps it to
// the root's by `toRoot` (`toLocal` is its inverse): each point is written
// with the fewest decimals that a reader, mapping it by `toRoot` and
// rounding to float, turns into the document's point again (else a float's
// or a double's shortest text; where the map's terms cancel, a double's
// that comes within a billionth of their size). Appends to `out`; false when some point cannot
// come back (a map that is near singular or throws points out of range),
// and `out` is then unusable.
bool localPathData(const std::vector<AIPathSegment> &segments, bool closed, const Affine &toRoot,
                   const Affine &toLocal, std::string &out);

// Writes a float as the shortest decimal text that reads back to it.
void appendNumber(std::string &out, double value);
std::string formatNumber(double value);
// The shortest text that reads back to the same double (0 for what is not finite).
std::string preciseNumber(double value);
// The text of `value` with the fewest decimals whose number `fits` accepts,
// else the float's shortest text if it fits, else the double's.
std::string fittingNumber(double value, bool (*fits)(double, const void *), const void *context);

// The tight box around the curves (not their control points).
Box curveBounds(const std::vector<Subpath> &subpaths, const Affine &m);

}  // namespace smear::svg
