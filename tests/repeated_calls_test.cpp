// A tool asks many things of one object in a row. The host answers such a
// call on a shorter way when no log is kept and no fault is planned; every
// answer must be the one the whole way gives (which a kept log forces).
#include <cstdint>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "host_suites_fixture.h"

namespace smear {
namespace {

class RepeatedCalls : public HostSuitesTest {
protected:
    const AIArtSuite &art = suite<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
    const AIPathSuite &path = suite<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);

    static std::string text(const AIPathSegment &s) {
        std::ostringstream out;
        out << s.p.h << "," << s.p.v << " " << s.in.h << "," << s.in.v << " " << s.out.h << "," << s.out.v << " "
            << int(s.corner) << ";";
        return out.str();
    }
    // The art's segments, as text.
    static std::string state(const Art *a) {
        std::string s;
        for (size_t i = 0; i < a->segments.size(); ++i) s += text(a->segments[i]);
        return s;
    }
};

using Call = std::function<std::string(AIArtHandle)>;

struct Case {
    const char *what;
    std::function<Art *()> make;
    Call call;
};

TEST_F(RepeatedCalls, GiveTheAnswersOfTheWholeWay) {
    const AIReal nan = std::numeric_limits<AIReal>::quiet_NaN();
    auto square = [this] { return addPath({{0, 0}, {10, 0}, {10, 10}, {0, 10}}); };
    auto disposed = [this] {
        Art *a = addPath({{0, 0}, {10, 0}});
        doc().dispose(a);
        return a;
    };
    auto compound = [this] {
        Art *c = addArt(kCompoundPathArt);
        addArt(kPathArt, {}, 0, c);
        return c;
    };
    auto group = [this] { return addArt(kGroupArt); };
    auto code = [](SPErr e) { return std::to_string(e) + ":"; };
    auto read = [&](ASInt16 first, ASInt16 count, bool buffer) -> Call {
        return [this, code, first, count, buffer](AIArtHandle h) {
            AIPathSegment got[2]{};
            got[0].p.h = got[1].p.h = -7;
            std::string s = code(path.GetPathSegments(h, first, count, buffer ? got : nullptr));
            return s + text(got[0]) + text(got[1]);
        };
    };
    auto write = [&](ASInt16 first, ASInt16 count, AIReal x) -> Call {
        return [this, code, first, count, x](AIArtHandle h) {
            AIPathSegment s[2]{};
            s[0].p = s[0].in = s[0].out = {x, 3};
            s[1].p = s[1].in = s[1].out = {4, x};
            std::string r = code(path.SetPathSegments(h, first, count, s));
            AIRealRect b{};
            r += code(art.GetArtBounds(h, &b));
            return r + std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.right);
        };
    };
    auto count = [&](bool out) -> Call {
        return [this, code, out](AIArtHandle h) {
            ASInt16 n = -3;
            return code(path.GetPathSegmentCount(h, out ? &n : nullptr)) + std::to_string(n);
        };
    };
    auto bounds = [&](bool out) -> Call {
        return [this, code, out](AIArtHandle h) {
            AIRealRect b{1, 2, 3, 4};
            return code(art.GetArtBounds(h, out ? &b : nullptr)) + std::to_string(b.left) + "," +
                   std::to_string(b.top) + "," + std::to_string(b.right) + "," + std::to_string(b.bottom);
        };
    };
    auto type = [&](bool out) -> Call {
        return [this, code, out](AIArtHandle h) {
            ASInt16 t = -1;
            return code(art.GetArtType(h, out ? &t : nullptr)) + std::to_string(t);
        };
    };
    const std::vector<Case> cases = {
        {"read one segment", square, read(1, 1, true)},
        {"read the last segment", square, read(3, 1, true)},
        {"read two segments", square, read(2, 2, true)},
        {"read past the end", square, read(4, 1, true)},
        {"read before the start", square, read(-1, 1, true)},
        {"read into no buffer", square, read(0, 1, false)},
        {"read none", square, read(0, 0, true)},
        {"read a compound path", compound, read(0, 1, true)},
        {"read a disposed path", disposed, read(0, 1, true)},
        {"write one segment", square, write(2, 1, 25)},
        {"write it as it was", square, write(1, 1, 10)},
        {"write a NaN", square, write(0, 1, nan)},
        {"write past the end", square, write(4, 1, 5)},
        {"write two segments", square, write(0, 2, 5)},
        {"write a group", group, write(0, 1, 5)},
        {"write a disposed path", disposed, write(0, 1, 5)},
        {"count a path", square, count(true)},
        {"count into nothing", square, count(false)},
        {"count a compound path", compound, count(true)},
        {"count a disposed path", disposed, count(true)},
        {"bounds of a path", square, bounds(true)},
        {"bounds into nothing", square, bounds(false)},
        {"bounds of an empty group", group, bounds(true)},
        {"bounds of a disposed path", disposed, bounds(true)},
        {"type of a group", group, type(true)},
        {"type into nothing", square, type(false)},
        {"type of a disposed path", disposed, type(true)},
    };
    for (const Case &c : cases) {
        // Asked about just before, twice (so its bounds are kept too).
        Art *asked = c.make();
        AIRealRect b{};
        art.GetArtBounds(toHandle(asked), &b);
        art.GetArtBounds(toHandle(asked), &b);
        std::string quiet = c.call(toHandle(asked));
        quiet += "|" + state(asked);

        // Asked about before another object of its block was.
        Art *earlier = c.make();
        art.GetArtBounds(toHandle(earlier), &b);
        art.GetArtBounds(toHandle(earlier), &b);
        art.GetArtBounds(toHandle(square()), &b);
        std::string nearby = c.call(toHandle(earlier));
        nearby += "|" + state(earlier);

        Art *logged = c.make();
        art.GetArtBounds(toHandle(logged), &b);
        host.log.enable(true);
        std::string whole = c.call(toHandle(logged));
        whole += "|" + state(logged);
        host.log.enable(false);
        EXPECT_EQ(quiet, whole) << c.what;
        EXPECT_EQ(nearby, whole) << c.what << ", another object asked about since";
    }
}

// An address in the block of the objects asked about, but not of one of
// them, is refused on either way, and never read.
TEST_F(RepeatedCalls, AnAddressBesideTheObjectsIsNoArt) {
    Art *first = addPath({{0, 0}, {10, 0}});
    Art *last = addPath({{0, 0}, {10, 0}});
    const uintptr_t at = uintptr_t(last);
    const std::vector<uintptr_t> addresses = {
        at + 8,                    // inside an object
        at + kArtSlotBytes,        // the slot after the last object
        at + 64 * kArtSlotBytes,   // further on in the block, never made
        uintptr_t(first) - kArtSlotBytes * 4096,  // below the block
    };
    for (bool logged : {false, true}) {
        host.log.enable(logged);
        for (uintptr_t a : addresses) {
            AIRealRect b{};
            ASSERT_EQ(art.GetArtBounds(toHandle(last), &b), kNoErr);
            const AIArtHandle h = reinterpret_cast<AIArtHandle>(a);
            ASInt16 type = -1, n = -1;
            AIPathSegment s{};
            EXPECT_EQ(art.GetArtType(h, &type), kBadParameterErr) << a - at;
            EXPECT_EQ(art.GetArtBounds(h, &b), kBadParameterErr) << a - at;
            EXPECT_EQ(path.GetPathSegmentCount(h, &n), kBadParameterErr) << a - at;
            EXPECT_EQ(path.GetPathSegments(h, 0, 1, &s), kBadParameterErr) << a - at;
            EXPECT_EQ(path.SetPathSegments(h, 0, 1, &s), kBadParameterErr) << a - at;
            EXPECT_EQ(type, -1);
            EXPECT_EQ(n, -1);
        }
    }
    host.log.enable(false);
}

// A write is the first change to a path in an undo step or a later one:
// the path comes back as it was either way.
TEST_F(RepeatedCalls, AWriteToAPathAskedAboutJustBeforeIsUndone) {
    Art *a = addPath({{0, 0}, {10, 0}, {10, 10}});
    const std::string before = state(a);
    ASInt16 n = 0;
    host.openUndoStep();
    ASSERT_EQ(path.GetPathSegmentCount(toHandle(a), &n), kNoErr);
    for (ASInt16 i = 0; i < n; ++i) {
        AIPathSegment s{};
        ASSERT_EQ(path.GetPathSegments(toHandle(a), i, 1, &s), kNoErr);
        s.p.h += 1;
        ASSERT_EQ(path.SetPathSegments(toHandle(a), i, 1, &s), kNoErr);
    }
    host.closeUndoStep();
    EXPECT_NE(state(a), before);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(state(a), before);
}

// A fault planned for the n-th call counts from when it is planned, however
// many calls went before on the shorter way.
TEST_F(RepeatedCalls, AFaultPlannedAfterThemFiresOnItsCall) {
    Art *a = addPath({{0, 0}, {10, 0}});
    AIArtHandle h = toHandle(a);
    ASInt16 type = 0;
    AIRealRect r{};
    for (int i = 0; i < 5; ++i) ASSERT_EQ(art.GetArtType(h, &type), kNoErr);
    host.faults.failNthCall(3, kOutOfMemoryErr);
    EXPECT_EQ(art.GetArtType(h, &type), kNoErr);
    EXPECT_EQ(art.GetArtBounds(h, &r), kNoErr);
    AIPathSegment s{};
    EXPECT_EQ(path.GetPathSegments(h, 0, 1, &s), kOutOfMemoryErr);
    EXPECT_EQ(path.GetPathSegments(h, 0, 1, &s), kNoErr);
}

}  // namespace
}  // namespace smear
