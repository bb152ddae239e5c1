// Records suite calls (suite, function, arguments) so a test can compare the
// sequence with the order the plug-in must follow.
#pragma once

#include <string>
#include <vector>

namespace smear {

struct SuiteCall {
    std::string suite;
    std::string function;
    std::string args;
};

class CallLog {
public:
    void enable(bool on) { enabled_ = on; }
    bool enabled() const { return enabled_; }
    void record(const char *suite, const char *function, std::string args = {}) {
        if (enabled_) calls_.push_back({suite, function, std::move(args)});
    }
    const std::vector<SuiteCall> &calls() const { return calls_; }
    void clear() { calls_.clear(); }

private:
    bool enabled_ = false;
    std::vector<SuiteCall> calls_;
};

}  // namespace smear
