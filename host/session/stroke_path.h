// The path of one stroke as a user writes it on the command line or in a
// file: either points, each one message, with an optional pen pressure
//     "10,10,0.5 20,30 40,35,1"
// or SVG path data, sampled at evenly spaced points along its length
//     "M10 10 C40 0 60 80 90 50"
#pragma once

#include <string>
#include <vector>

#include "host.h"

namespace smear {

struct StrokePath {
    // SVG user units: mouse down at the first, one drag message at each
    // further point, mouse up at the last.
    std::vector<AIRealPoint> points;
    std::vector<ASInt16> pressure;  // one per point, 0 to 255 as the host sends it
    bool pressureGiven = false;     // whether any point carried its own pressure
};

constexpr size_t kStrokeMaxPoints = 100001;
// Path data a stroke follows holds at most this many numbers and command
// letters (a few megabytes of text), so that reading it stays bounded.
constexpr size_t kStrokePathMaxTokens = 1000000;

// Points are separated by blanks, line breaks or semicolons; each is X,Y or
// X,Y,P with P the pen pressure from 0 to 1 (a pen's own scale; the host
// sends P × 255). Points without P take `pressure` (0 to 255). Path data
// (text that starts with a command letter) must be one subpath and is
// sampled at `steps` + 1 points (at most kStrokeMaxPoints), every point at
// `pressure`. False with a message naming the point or the number that is
// wrong.
bool parseStrokePath(const std::string &text, int steps, ASInt16 pressure, StrokePath &out, std::string &error);

// A pen's pressure along a whole stroke, as a pen gives it while drawing a
// curve: "P0 P1 ... Pk", each from 0 to 1, spread evenly over the stroke's
// `count` messages (P0 at the mouse down, Pk at the mouse up) and read
// between them in straight lines. One value holds for the whole stroke.
// Gives 0 to 255 per message; false with a message naming the bad value.
bool pressureProfile(const std::string &text, size_t count, std::vector<ASInt16> &out, std::string &error);

}  // namespace smear
