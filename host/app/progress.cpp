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
    buffer_.progress = this;
    buffer_.target = std::cerr.rdbuf();
}

int Progress::ClearingBuffer::overflow(int c) {
    progress->finish();
    return c == traits_type::eof() ? traits_type::not_eof(c) : target->sputc(char(c));
}

std::streamsize Progress::ClearingBuffer::xsputn(const char *s, std::streamsize n) {
    progress->finish();
    return target->sputn(s, n);
}

Progress::~Progress() { finish(); }

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
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
}

}  // namespace smear::app
