// What the reader could not keep, as the user is told it: once per kind.
#include <gtest/gtest.h>

#include "svg_report.h"

namespace smear {
namespace {

TEST(ReadProblemSummary, OneLinePerKindWithItsCountAndFirstElement) {
    const std::vector<std::string> problems = {
        "element <rect id=a>: filter url(#blur) is not kept",
        "element <path> at line 7: d has a number beyond the range of the drawing (1e39); skipped",
        "element <circle id=b>: filter url(#shadow-2) is not kept",
        "element <text id=t>: tspans moved by dx or dy are joined to the text before them",
        "element <path id=c>: filter url(#blur) is not kept",
        "element <path id=p9>: d has a number beyond the range of the drawing (-3e40); skipped",
        "element <linearGradient id=g>: gradient #g repeats by \"reflect\"; it is drawn padded",
        "element <radialGradient id=h>: gradient #h repeats by \"repeat\"; it is drawn padded",
    };
    const std::vector<std::string> expected = {
        "3 times: filter url(…) is not kept (first: element <rect id=a>)",
        "2 times: d has a number beyond the range of the drawing (…); skipped (first: element <path> at line 7)",
        "element <text id=t>: tspans moved by dx or dy are joined to the text before them",
        "2 times: gradient #… repeats by \"…\"; it is drawn padded (first: element <linearGradient id=g>)",
    };
    EXPECT_EQ(summarizeReadProblems(problems), expected);
}

TEST(ReadProblemSummary, ProblemsOfTheWholeFileAndNumbersInReasonsAreGrouped) {
    const std::vector<std::string> problems = {
        "the file's page is 0 wide",
        "the file's page is 12.5 wide",
        "element <g> at line 3: nested deeper than 256 levels; skipped",
    };
    const std::vector<std::string> lines = summarizeReadProblems(problems);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "2 times: the file's page is … wide");
    EXPECT_EQ(lines[1], problems[2]);
    EXPECT_TRUE(summarizeReadProblems({}).empty());
}

}  // namespace
}  // namespace smear
