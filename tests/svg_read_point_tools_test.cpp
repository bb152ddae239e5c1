// The point tools on SVG files that nobody here drew: each moves anchors or
// handles of the drawing's paths, and the written file reads back to the same
// geometry; the mesh tools leave a drawing without meshes as it was.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "brush_support.h"
#include "real_files.h"
#include "svg.h"
#include "svg_write_support.h"

namespace smear {
namespace {


std::vector<const Art *> paths(const Document &d) {
    std::vector<const Art *> out;
    d.forEachArt([&](const Art &a) {
        if (a.type == kPathArt) out.push_back(&a);
    });
    return out;
}

double extent(const Document &d) {
    double size = 1;
    for (const Art *a : paths(d)) {
        AIRealRect b{};
        if (artBounds(*a, b)) size = std::max({size, double(b.right) - b.left, double(b.top) - b.bottom});
    }
    return size;
}

// The first point of the two documents' paths that differs by more than
// `tolerance`, in paint order; empty when none does.
std::string geometryDifference(const Document &a, const Document &b, double tolerance) {
    const std::vector<const Art *> x = paths(a), y = paths(b);
    if (x.size() != y.size()) return "path count " + std::to_string(x.size()) + " vs " + std::to_string(y.size());
    for (size_t k = 0; k < x.size(); ++k) {
        if (x[k]->segments.size() != y[k]->segments.size()) return "segments of path " + std::to_string(k);
        const size_t n = x[k]->segments.size();
        for (size_t i = 0; i < n; ++i) {
            const AIPathSegment &s = x[k]->segments[i], &t = y[k]->segments[i];
            // An open path draws neither its first in-handle nor its last
            // out-handle, so SVG has no place for them.
            const bool open = !x[k]->closed;
            const struct {
                const char *name;
                AIRealPoint p, q;
                bool drawn;
            } points[3] = {{"anchor", s.p, t.p, true},
                           {"in", s.in, t.in, !(open && i == 0)},
                           {"out", s.out, t.out, !(open && i + 1 == n)}};
            for (const auto &pt : points) {
                if (!pt.drawn) continue;
                if (std::fabs(double(pt.p.h) - pt.q.h) > tolerance || std::fabs(double(pt.p.v) - pt.q.v) > tolerance) {
                    std::ostringstream o;
                    o << "path " << k << " (" << x[k]->id << ") segment " << i << " " << pt.name << ": (" << pt.p.h
                      << ", " << pt.p.v << ") vs (" << pt.q.h << ", " << pt.q.v << ")";
                    return o.str();
                }
            }
        }
    }
    return {};
}

struct PointTool {
    const char *name;
    int toolId;
    void (*options)(Globals &);
    bool changes;  // whether a drawing without meshes changes at all
};

const PointTool kPointTools[] = {
    {"CornerPoints", kCornerPointsTool,
     [](Globals &g) {
         g.cornerApplyMode = 1;
         g.cornerInHorizontal = -4;
         g.cornerOutVertical = 3;
     },
     true},
    {"QuickShrink", kQuickShrinkTool, [](Globals &) {}, true},
    {"PointShifter", kPointShifterTool,
     [](Globals &g) {
         g.pointShiftHorizontal = 3;
         g.pointShiftVertical = -2;
         g.pointShifterFollowBrush = 0;
     },
     true},
    {"GradientMesh", kGradientMeshTool, [](Globals &g) { g.meshColorChannel1 = 40; }, false},
    {"WarpMesh", kWarpMeshTool, [](Globals &g) { g.warpShiftVertical = 5; }, false},
};

void PrintTo(const PointTool &tool, std::ostream *out) { *out << tool.name; }

class PointToolOnFile : public BrushTest, public ::testing::WithParamInterface<PointTool> {};

TEST_P(PointToolOnFile, MovesPointsThatComeBackFromTheWrittenFile) {
    const PointTool &tool = GetParam();
    int seen = 0;
    for (const char *path : kRealSvgFiles) {
        if (!std::ifstream(path)) continue;
        ++seen;
        SCOPED_TRACE(path);
        auto drawing = std::make_unique<Document>();
        SvgReadReport report;
        std::string error;
        ASSERT_TRUE(readSvgFile(path, *drawing, report, error)) << error;
        selectAllOpen(*drawing);
        const AIRealRect page = drawing->artboard;
        const double size = extent(*drawing);
        host.replaceDocument(std::move(drawing));
        const std::unique_ptr<Document> before = doc().clone();

        g().brushSizeHorizontal = g().brushSizeVertical = 100000;  // every point at weight 1
        tool.options(g());
        stroke(tool.toolId, {(page.left + page.right) / 2, (page.top + page.bottom) / 2}, 2);
        const std::string moved = geometryDifference(*before, doc(), 1e-6 * size);
        if (tool.changes) {
            EXPECT_NE(moved, "") << "the tool moved nothing";
        } else {
            EXPECT_EQ(moved, "");
        }

        Document back;
        SvgReadReport report2;
        ASSERT_TRUE(readSvgString(svgOf(doc()), back, report2, error)) << error;
        EXPECT_EQ(geometryDifference(doc(), back, 1e-4 * size), "");
    }
    if (seen == 0) GTEST_SKIP() << "none of the sample SVG files is installed";
}

INSTANTIATE_TEST_SUITE_P(PointAndMeshTools, PointToolOnFile, ::testing::ValuesIn(kPointTools),
                         [](const ::testing::TestParamInfo<PointTool> &info) { return std::string(info.param.name); });

}  // namespace
}  // namespace smear
