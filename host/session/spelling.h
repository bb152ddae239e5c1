// "Did you mean ...": the name a user most likely meant when what they
// typed is not one of the names there are.
#pragma once

#include <string>
#include <vector>

namespace smear {

// The name of `names` closest to `typed`, compared without regard to case,
// hyphens, underscores or blanks; empty when none is close enough to be a
// plausible slip (a few letters swapped, missing, extra or wrong).
std::string closestName(const std::string &typed, const std::vector<std::string> &names);

}  // namespace smear
