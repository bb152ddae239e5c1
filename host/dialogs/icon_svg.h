// A picture of one of the module's icon images, as the palette shows it.
#pragma once

#include <string>

namespace smear {

struct IconImage;

// An SVG document of the icon's pixels (one rectangle per run of equal
// colour; transparent where the icon's mask says so). False with a message
// for an image whose bitmap is malformed or of a kind icons do not use
// (only 1, 4, 8, 24 and 32 bits a pixel, uncompressed, are read).
bool drawIconSvg(const IconImage &icon, std::string &svg, std::string &error);

}  // namespace smear
