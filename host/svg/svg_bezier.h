// Between SVG cubic subpaths and the document's path segments (anchor with
// in and out control points). Document space is SVG user space with the
// vertical axis flipped: SVG (x, y) is document (x, -y).
#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <vector>

#include "hostapi.h"
#include "segment_list.h"
#include "svg_path_data.h"

namespace smear::svg {

struct DocumentPath {
    SegmentList segments;
    bool closed = false;
    size_t subpath = 0;  // its index among the subpaths it was made from
};

// Maps each subpath through `toSvgRoot` (the element's user space to the
// root's) and flips it into document space. Subpaths without a single
// drawing command (a lone moveto) draw nothing and are left out; a closed
// one ("M x y Z") is kept as one closed anchor, which round or square caps
// show as a dot. A closed subpath whose last curve already ends at its
// start does not repeat that anchor: the closing curve then runs into the
// first anchor.
std::vector<DocumentPath> toDocumentPaths(const std::vector<Subpath> &subpaths, const Affine &toSvgRoot);

// Whether a subpath is drawn: a lone moveto is not.
inline bool drawsSomething(const Subpath &s) { return !s.curves.empty() || s.closed; }

// A number the writer cannot write: not finite, or past a float's range
// where a float's text is wanted. The number writers below throw it rather
// than write "inf", "nan" or a stand-in; the SVG writer names the object
// and what of it was being written (`field`, the innermost name wins).
class UnwritableNumber : public std::exception {
public:
    explicit UnwritableNumber(double value);
    double value() const { return value_; }
    const std::string &field() const { return field_; }
    void name(const std::string &field) {
        if (field_.empty()) field_ = field;
    }
    // "inf" or "nan" (either sign), or the number and that it lies past a
    // float's range.
    const char *what() const noexcept override { return text_.c_str(); }

private:
    double value_;
    std::string text_, field_;
};

// Whether `value` can be written as a float's text.
bool writableFloat(double value);

// Path data for a document path, in SVG coordinates: M, then L for straight
// segments and C for curved ones, and Z for a closed path. Numbers are the
// shortest text that reads back to the same float. Throws UnwritableNumber
// for a point that is not finite.
std::string pathData(const SegmentList &segments, bool closed);

// The same path in the user space of an element whose transform maps it to
// the root's by `toRoot` (`toLocal` is its inverse): each point is written
// with the fewest decimals that a reader, mapping it by `toRoot` and
// rounding to float, turns into the document's point again (else a float's
// or a double's shortest text; where the map's terms cancel, a double's
// that comes within a billionth of their size). Appends to `out`; false when some point cannot
// come back (a map that is near singular or throws points out of range),
// and `out` is then unusable (also for a point that is not finite).
bool localPathData(const SegmentList &segments, bool closed, const Affine &toRoot,
                   const Affine &toLocal, std::string &out);

// Writes a float as the shortest decimal text that reads back to it;
// throws UnwritableNumber, writing nothing, for a value that is not
// writableFloat.
void appendNumber(std::string &out, double value);
std::string formatNumber(double value);
// The shortest text that reads back to the same double; throws
// UnwritableNumber for one that is not finite.
std::string preciseNumber(double value);
// The text of `value` with the fewest decimals whose number `fits` accepts,
// else the float's shortest text if it fits, else the double's (which
// throws UnwritableNumber when not finite).
std::string fittingNumber(double value, bool (*fits)(double, const void *), const void *context);

// The tight box around the curves (not their control points), and the
// point of each closed subpath without curves.
Box curveBounds(const std::vector<Subpath> &subpaths, const Affine &m);

}  // namespace smear::svg
