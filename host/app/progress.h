// Progress of long work on the terminal: one line on the error stream,
// rewritten in place, shown only when that stream is a terminal, so that
// pipes, logs and the reports tests compare never see it.
#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>

namespace smear::app {

class Progress {
public:
    // `enabled` false: prints nothing whatever it is told.
    explicit Progress(bool enabled);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // Whether the error stream is a terminal.
    static bool stderrIsTerminal();

    // "painting: 1200 of 5000 drag messages", at most ten times a second
    // and only once the work has taken half a second.
    void update(const std::string &what, size_t done, size_t total);
    // "reading in.svg": what is being done now, shown at once (a file of
    // 100,000 objects takes a second to read or write).
    void status(const std::string &what);
    // Clears the line, leaving the terminal as it was.
    void finish();

    // The error stream, clearing the progress line before each write so
    // that a message never lands in the middle of it.
    std::ostream &errors() { return errors_; }

private:
    struct ClearingBuffer : std::streambuf {
        Progress *progress;
        std::streambuf *target;
        int overflow(int c) override;
        std::streamsize xsputn(const char *s, std::streamsize n) override;
        int sync() override { return target->pubsync(); }
    };
    ClearingBuffer buffer_;
    std::ostream errors_{&buffer_};
    bool enabled_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace smear::app
