// Any bytes as an SVG file: the reader reads or refuses them, never more.
#include <cstddef>
#include <cstdint>
#include <string>

#include "svg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    smear::Document doc;
    smear::SvgReadReport report;
    std::string error;
    smear::readSvgString(std::string(reinterpret_cast<const char *>(data), size), doc, report, error);
    return 0;
}
