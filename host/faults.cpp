#include "faults.h"

namespace smear {

void FaultPlan::failNthCall(long n, SPErr code) {
    failAt_ = calls_ + n;
    failAtCode_ = code;
    fired_ = false;
}

void FaultPlan::failEveryCall(const std::string &suite, const std::string &function, SPErr code) {
    every_[suite + "/" + function] = code;
}

void FaultPlan::makeUnavailable(const std::string &suite) { unavailable_.insert(suite); }

void FaultPlan::clear() {
    failAt_ = 0;
    failAtCode_ = 0;
    fired_ = false;
    every_.clear();
    unavailable_.clear();
}

SPErr FaultPlan::onCall(const char *suite, const char *function) {
    ++calls_;
    if (failAt_ != 0 && calls_ == failAt_) {
        fired_ = true;
        return failAtCode_;
    }
    if (!every_.empty()) {
        auto it = every_.find(std::string(suite) + "/" + function);
        if (it != every_.end()) return it->second;
    }
    return kNoErr;
}

}  // namespace smear
