#include "faults.h"

namespace smear {

void FaultPlan::failNthCall(long n, SPErr code) {
    failAt_ = calls_ + n;
    failAtCode_ = code;
    fired_ = false;
    firedAt_.clear();
    replan();
}

void FaultPlan::failEveryCall(const std::string &suite, const std::string &function, SPErr code) {
    every_[suite + "/" + function] = code;
    replan();
}

void FaultPlan::failNthCallOf(const std::string &suite, const std::string &function, long n, SPErr code) {
    nthOf_[suite + "/" + function] = CountedFault{n, code};
    replan();
}

void FaultPlan::makeUnavailable(const std::string &suite) { unavailable_.insert(suite); }

void FaultPlan::clear() {
    failAt_ = 0;
    failAtCode_ = 0;
    fired_ = false;
    firedAt_.clear();
    every_.clear();
    nthOf_.clear();
    unavailable_.clear();
    replan();
}

SPErr FaultPlan::plannedFault(const char *suite, const char *function) {
    if (failAt_ != 0 && calls_ == failAt_) {
        fired_ = true;
        firedAt_ = std::string(suite) + "/" + function;
        return failAtCode_;
    }
    if (every_.empty() && nthOf_.empty()) return kNoErr;
    const std::string key = std::string(suite) + "/" + function;
    auto counted = nthOf_.find(key);
    if (counted != nthOf_.end() && --counted->second.remaining == 0) {
        SPErr code = counted->second.code;
        nthOf_.erase(counted);
        replan();
        fired_ = true;
        firedAt_ = key;
        return code;
    }
    auto it = every_.find(key);
    if (it != every_.end()) return it->second;
    return kNoErr;
}

}  // namespace smear
