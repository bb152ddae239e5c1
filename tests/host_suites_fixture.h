// A stand-in host without a plug-in, for tests that call its suites
// directly through their tables as a plug-in would.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "handles.h"
#include "host.h"

namespace smear {

class HostSuitesTest : public ::testing::Test {
protected:
    template <class Table> const Table &suite(const char *name, ASInt32 version) {
        const void *table = host.suites.find(name, version);
        if (!table) ADD_FAILURE() << "suite not registered: " << name << " " << version;
        return *static_cast<const Table *>(table);
    }

    Document &doc() { return host.document(); }

    // A path on top of the current layer, straight segments through `points`.
    Art *addPath(std::vector<AIRealPoint> points, const std::string &id = {}, ASInt32 attr = 0) {
        Art *a = doc().newArt(kPathArt);
        a->id = id;
        a->userAttr = attr;
        for (AIRealPoint p : points) {
            AIPathSegment s{};
            s.p = s.in = s.out = p;
            s.corner = true;
            a->segments.push_back(s);
        }
        doc().link(a, kPlaceAboveAll, nullptr);
        return a;
    }

    Art *addArt(ASInt16 type, const std::string &id = {}, ASInt32 attr = 0, Art *inside = nullptr) {
        Art *a = doc().newArt(type);
        a->id = id;
        a->userAttr = attr;
        doc().link(a, inside ? kPlaceInsideOnTop : kPlaceAboveAll, inside);
        return a;
    }

    Host host;
};

}  // namespace smear
