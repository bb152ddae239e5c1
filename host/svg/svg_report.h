// What the SVG reader could not keep, told to the user once per kind of
// problem: a file with a hundred filtered elements says so in one line.
#pragma once

#include <string>
#include <vector>

namespace smear {

// One line per kind of problem, in the order each kind first occurs. A kind
// met once is its problem as the reader wrote it; one met more often is
// "N elements: KIND (first: ELEMENT)", where KIND is the reason with the
// names, references and numbers that differ between elements left out.
std::vector<std::string> summarizeReadProblems(const std::vector<std::string> &problems);

}  // namespace smear
