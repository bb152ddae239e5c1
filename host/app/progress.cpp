#include "progress.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace smear::app {

Progress::Progress(bool enabled) : enabled_(enabled), start_(std::chrono::steady_clock::now()), last_(start_) {
    errorBuffer_.progress = outputBuffer_.progress = this;
    errorBuffer_.target = std::cerr.rdbuf();
    outputBuffer_.target = std::cout.rdbuf();
}

int Progress::ClearingBuffer::overflow(int c) {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    pending += char(c);
    if (c == '\n') passLines();
    return c;
}

std::streamsize Progress::ClearingBuffer::xsputn(const char *s, std::streamsize n) {
    pending.append(s, size_t(n));
    if (std::char_traits<char>::find(s, size_t(n), '\n')) passLines();
    return n;
}

void Progress::ClearingBuffer::passLines() {
    const size_t end = pending.rfind('\n');
    if (end == std::string::npos) return;
    progress->finish();
    target->sputn(pending.data(), std::streamsize(end + 1));
    pending.erase(0, end + 1);
}

int Progress::ClearingBuffer::sync() {
    if (!pending.empty()) {
        progress->finish();
        target->sputn(pending.data(), std::streamsize(pending.size()));
        pending.clear();
    }
    return target->pubsync();
}

Progress::~Progress() {
    output_.flush();
    errors_.flush();
    finish();
}

bool Progress::stderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

void Progress::update(const std::string &what, size_t done, size_t total) {
    if (!enabled_) return;
    using namespace std::chrono;
    const auto now = steady_clock::now();
    if (done < total && (now - start_ < milliseconds(500) || (shown_ && now - last_ < milliseconds(100)))) return;
    last_ = now;
    shown_ = true;
    std::fprintf(stderr, "\r\033[Ksmearhost: %s: %zu of %zu (%zu%%)", what.c_str(), done, total,
                 total ? done * 100 / total : size_t(100));
    std::fflush(stderr);
}

void Progress::status(const std::string &what) {
    if (!enabled_) return;
    shown_ = true;
    start_ = last_ = std::chrono::steady_clock::now();
    std::fprintf(stderr, "\r\033[Ksmearhost: %s ...", what.c_str());
    std::fflush(stderr);
}

void Progress::finish() {
    if (!shown_) return;
    shown_ = false;
    std::cout.flush();
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
}

}  // namespace smear::app
