// Reading SVG text in tests: the document, what was reported and whether
// it read at all; and a drawing wrapped in a root element.
#pragma once

#include <memory>
#include <string>

#include "svg.h"
#include "svg_write_support.h"

namespace smear {

struct Read {
    Document doc;
    SvgReadReport report;
    std::string error;
    bool ok = false;
};

inline std::unique_ptr<Read> read(const std::string &svg) {
    auto r = std::make_unique<Read>();
    r->ok = readSvgString(svg, r->doc, r->report, r->error);
    return r;
}

inline std::string wrap(const std::string &body) {
    return "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
           "viewBox='0 0 200 200'>" +
           body + "</svg>";
}

}  // namespace smear
