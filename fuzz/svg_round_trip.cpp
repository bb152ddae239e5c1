// What the reader takes in, the writer writes so that it reads again, with
// as many art objects.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "svg.h"

namespace {

size_t countArt(const smear::Document &doc) {
    size_t n = 0;
    doc.forEachArt([&](const smear::Art &) { ++n; });
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    smear::Document doc;
    smear::SvgReadReport report;
    std::string error;
    if (!smear::readSvgString(std::string(reinterpret_cast<const char *>(data), size), doc, report, error)) return 0;
    std::string written;
    // What the reader keeps, the writer can write: every number in range.
    if (!smear::writeSvg(doc, written, error)) {
        std::fprintf(stderr, "what was read does not write: %s\n", error.c_str());
        std::abort();
    }
    smear::Document again;
    smear::SvgReadReport againReport;
    if (!smear::readSvgString(written, again, againReport, error)) {
        std::fprintf(stderr, "the written file does not read: %s\n%s\n", error.c_str(), written.c_str());
        std::abort();
    }
    if (countArt(doc) != countArt(again)) {
        std::fprintf(stderr, "%zu art objects read, %zu read back\n%s\n", countArt(doc), countArt(again),
                     written.c_str());
        std::abort();
    }
    return 0;
}
