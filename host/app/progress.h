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

    // The error and output streams, clearing the progress line before each
    // write so that nothing lands in the middle of it (both may be the same
    // terminal). What they write is what std::cerr and std::cout would.
    std::ostream &errors() { return errors_; }
    std::ostream &output() { return output_; }

private:
    // Passes whole lines on, clearing the progress line first: a report
    // line written in parts (a step's name, then its result) stays whole.
    struct ClearingBuffer : std::streambuf {
        Progress *progress = nullptr;
        std::streambuf *target = nullptr;
        std::string pending;
        int overflow(int c) override;
        std::streamsize xsputn(const char *s, std::streamsize n) override;
        int sync() override;
        void passLines();
    };
    ClearingBuffer errorBuffer_, outputBuffer_;
    std::ostream errors_{&errorBuffer_};
    std::ostream output_{&outputBuffer_};
    bool enabled_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace smear::app
