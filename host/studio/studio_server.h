// The studio's HTTP server on the loopback address. Every program on the
// machine and every page the user's browser has open can reach it, so no
// connection may hold it: each request must arrive within a few seconds and
// within the size the studio takes, idle connections are closed, each
// connection has a thread of its own up to a limit (beyond it a connection
// is refused at once), and stop() ends it all within a fraction of a second.
// Every answer, the server's own refusals included, carries
// studioResponseHeaders().
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

#include "studio_api.h"

namespace smear {

struct StudioServerLimits {
    // The largest body taken, counted as it arrives and as it is decoded,
    // whatever its transfer encoding.
    size_t maxBodyBytes = size_t(4) << 20;
    // From a request's first byte to its last, headers and body.
    std::chrono::milliseconds requestTime{5000};
    // How long an open connection may wait for its next request.
    std::chrono::milliseconds idleTime{2000};
    // How long one answer may take to be sent.
    std::chrono::milliseconds writeTime{5000};
    // Connections served at once; one more is answered 503 and closed.
    size_t maxConnections = 128;
    size_t maxRequestsPerConnection = 100;
};

// Answers one request; called from several threads at once.
using StudioHandler = std::function<StudioResponse(const StudioRequest &)>;

class StudioServer {
public:
    explicit StudioServer(StudioHandler handler, StudioServerLimits limits = {});
    ~StudioServer();
    StudioServer(const StudioServer &) = delete;
    StudioServer &operator=(const StudioServer &) = delete;

    // Listens on 127.0.0.1 (only this machine), at `port` or, with 0, any
    // free one. The port, or -1 when it cannot listen.
    int bind(int port);
    // Serves until stop(); returns once every connection is closed.
    void serve();
    // From any thread (not from a signal handler).
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace smear
