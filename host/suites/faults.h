// The fault plan: lets a test fail the n-th call of any suite function, every
// call of one function, or make a whole suite unavailable.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "hostapi.h"

namespace smear {

class FaultPlan {
public:
    // The n-th call (1-based, counted from now) of any suite function that
    // returns a code fails.
    void failNthCall(long n, SPErr code);
    // Every call of suite.function fails.
    void failEveryCall(const std::string &suite, const std::string &function, SPErr code);
    // The n-th call (1-based, counted from now) of suite.function fails.
    void failNthCallOf(const std::string &suite, const std::string &function, long n, SPErr code);
    // Acquiring the suite fails with kSuiteNotFoundErr.
    void makeUnavailable(const std::string &suite);
    void clear();

    // Counts one call; returns the code it must fail with, or 0. Without a
    // planned fault it only counts: it runs on every suite call.
    SPErr onCall(const char *suite, const char *function) {
        ++calls_;
        if (!planned_) return kNoErr;
        return plannedFault(suite, function);
    }
    // Whether any fault is planned. Calls made while none is may go
    // uncounted: a planned n-th call is counted from when it is planned.
    bool planned() const { return planned_; }
    bool isUnavailable(std::string_view suite) const { return !unavailable_.empty() && unavailable_.count(suite) != 0; }
    // Whether a counted fault has fired, and at which suite/function.
    bool fired() const { return fired_; }
    const std::string &firedAt() const { return firedAt_; }

private:
    SPErr plannedFault(const char *suite, const char *function);
    // Whether any fault is planned: one test on every call without one.
    void replan() { planned_ = failAt_ != 0 || !every_.empty() || !nthOf_.empty(); }
    bool planned_ = false;
    long calls_ = 0;
    long failAt_ = 0;
    SPErr failAtCode_ = 0;
    bool fired_ = false;
    std::string firedAt_;
    std::map<std::string, SPErr> every_;
    struct CountedFault {
        long remaining;
        SPErr code;
    };
    std::map<std::string, CountedFault> nthOf_;
    std::set<std::string, std::less<>> unavailable_;
};

}  // namespace smear
