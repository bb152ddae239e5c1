// The built-in sample drawing the demo paints on: plain paths in every
// colour kind, a compound path, a gradient mesh, a group and text, with the
// swatches, graphic styles, custom colour, gradient and pattern that the
// paint tools draw on. Everything sits in a band around the middle line
// (y = 160) that the demo's stroke runs along.
#pragma once

#include <nlohmann/json.hpp>

namespace smear {

constexpr double kSampleWidth = 520;
constexpr double kSampleHeight = 320;

// The drawing as an inline document description (see session_document.h).
const nlohmann::json &sampleDocument();

}  // namespace smear
