// Writing SVG in tests: the text of a document that must write.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "svg.h"

namespace smear {

// The document as SVG; one that cannot be written fails the test.
inline std::string svgOf(const Document &doc) {
    std::string text, error;
    if (!writeSvg(doc, text, error)) ADD_FAILURE() << "the drawing does not write: " << error;
    return text;
}

// The preview of the document; one that cannot be written fails the test.
inline std::string previewOf(const Document &doc) {
    std::string text, error;
    if (!writeSvgPreview(doc, text, error)) ADD_FAILURE() << "the preview does not write: " << error;
    return text;
}

}  // namespace smear
