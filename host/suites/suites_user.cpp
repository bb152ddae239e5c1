// The user suite: conversions between reals and length-prefixed text.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host.h"

namespace smear {

namespace {

const char kUser[] = "AI User Suite";

// The whole text must be a number; "12abc" and "" are refused.
SPErr stringToReal(const unsigned char *text, AIReal *value) {
    if (SPErr e = enterSuite(kUser, "StringToReal")) return e;
    if (text == nullptr || value == nullptr) return kBadParameterErr;
    char buffer[256];
    size_t n = text[0];
    std::memcpy(buffer, text + 1, n);
    buffer[n] = '\0';
    errno = 0;
    char *end = nullptr;
    double parsed = std::strtod(buffer, &end);
    if (n == 0 || end != buffer + n || errno == ERANGE || !std::isfinite(parsed)) return kBadParameterErr;
    *value = AIReal(parsed);
    return kNoErr;
}

SPErr realToString(AIReal value, ASInt16 precision, unsigned char *text) {
    if (SPErr e = enterSuite(kUser, "RealToString")) return e;
    if (text == nullptr || precision < 0 || precision > 20) return kBadParameterErr;
    char buffer[300];
    int n = std::snprintf(buffer, sizeof buffer, "%.*f", int(precision), double(value));
    if (n < 0 || n > 255) return kBadParameterErr;
    text[0] = static_cast<unsigned char>(n);
    std::memcpy(text + 1, buffer, size_t(n));
    return kNoErr;
}

const AIUserSuite userSuite = {stringToReal, realToString};

}  // namespace

void registerUserSuite(SuiteRegistry &r) { r.add(kAIUserSuite, kAIUserSuiteVersion, &userSuite); }

}  // namespace smear
