// What a person could see of an art object, as bytes, part by part, so that
// "did this change?" is one comparison: the session report counts changed
// objects with it, and the SVG writer rewrites only the parts of an element
// whose art changed since it was read. Written field by field, so padding
// bytes never count as a change.
#pragma once

#include <cstdint>
#include <string>

#include "document.h"

namespace smear {

enum class ArtPart {
    kGeometry,  // segments, mesh vertex points, frame, matrix, text and its size, image source
    kPaint,     // fill, stroke and their details, named style, style factor, mesh colours
    kAppearance,  // opacity, blend mode, hidden
    kTags,      // tags and the id
    kCount
};

// The part's bytes. Tags, selection and the id are left out of every part
// but kTags (which holds the tags and the id).
std::string artPartSignature(const Art &art, ArtPart part);
// Every part but the tags, as the session report compares them.
std::string visibleSignature(const Art &art);
// A 64-bit digest of a part, for keeping a record of it cheaply.
uint64_t artPartDigest(const Art &art, ArtPart part);

}  // namespace smear
