// Colour records as text, for what SVG paint cannot say exactly: mesh
// vertex colours are written with their kind and components so that they
// read back bit for bit. Also the sRGB a colour of any flat kind shows as.
#pragma once

#include <string>
#include <string_view>

#include "document.h"

namespace smear::svg {

// "none", "gray:G", "cmyk:C,M,Y,K", "rgb:R,G,B", or for a custom colour
// "spot:NAME:TINT:BASE" with the name percent-encoded and BASE the custom
// colour's own definition. A gradient is "gradient:NAME:" and its placement
// (origin h,v, angle, length, matrix a,b,c,d,tx,ty, highlight angle and
// length); a pattern "pattern:NAME:" and its placement (shift distance and
// angle, scale h,v, rotation, reflect, reflect angle, shear angle and axis,
// matrix a,b,c,d,tx,ty). Numbers read back bit for bit.
std::string encodeColor(const AIColor &color);

// Reads a token back; a custom colour is found in `doc` by name, or added
// with the definition the token carries; a gradient or pattern must be one
// of `doc`'s by name. False for a malformed token.
bool decodeColor(std::string_view token, Document &doc, AIColor &out);

// The sRGB (0 .. 1) a flat colour shows as: gray ink inverted, process
// colour converted naively, a custom colour as its definition tinted toward
// white. False for none, gradients and patterns.
bool displayRgb(const AIColor &color, double rgb[3]);

// "#rrggbb" for an sRGB triple.
std::string hexColor(const double rgb[3]);

// Percent-encodes everything but letters, digits and "-._"; the empty text
// is "~", so that lists of names stay readable.
std::string encodeName(std::string_view name);
std::string decodeName(std::string_view text);

}  // namespace smear::svg
