// Documents written out in JSON: the inline documents of session files and
// the built-in sample drawing. Coordinates are SVG user units (y grows
// downwards); the document itself keeps y growing upwards, so (x, y) here is
// (x, -y) there.
#pragma once

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "document.h"

namespace smear {

// How deep session files and inline documents may nest, so that what reads
// them (recursively) stays well within the stack: arrays and objects in a
// session's JSON, and art inside art (groups, compound paths) in a document.
// Session files are refused beyond kSessionMaxFileBytes.
constexpr size_t kSessionMaxJsonDepth = 1024;
constexpr int kSessionMaxArtDepth = 256;
constexpr size_t kSessionMaxFileBytes = size_t(256) << 20;

// Whether arrays and objects in `j` nest more than `limit` deep (the value
// itself is level 1). Walks without recursion, so any parsed value may be
// asked before it is copied or printed, which recurse.
bool jsonNestedDeeper(const nlohmann::json &j, size_t limit);

// Builds a document from its description; null with a message naming the
// offending entry ("objects[2].fill: ...") when the description is wrong.
std::unique_ptr<Document> buildDocument(const nlohmann::json &desc, std::string &error);

// Parses a colour as the descriptions write it: "none", "#rrggbb", "gray:0.4"
// (ink, 0 white .. 1 black), "cmyk:c,m,y,k", "custom:Name" or
// "custom:Name@tint", "gradient:Name", "pattern:Name". Names refer to the
// document's own custom colours, gradients and patterns.
bool parseColor(const std::string &text, Document &doc, AIColor &color, bool &painted, std::string &error);

}  // namespace smear
