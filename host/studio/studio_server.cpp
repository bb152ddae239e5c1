#include "studio_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <httplib.h>
#include <nlohmann/json.hpp>

namespace smear {

namespace {

using Clock = std::chrono::steady_clock;

// Room for the request line and headers on top of the body.
constexpr size_t kHeaderBytes = 64 << 10;
// How often a waiting connection looks whether the server is stopping.
constexpr std::chrono::milliseconds kStopCheck{50};

// Set by the handlers of a request whose body was left unread: the
// connection is closed after the answer, since the rest of the body would
// read as the next request.
thread_local bool closeAfterAnswer = false;
// Set when a request sent more bytes than any request may (a chunked body's
// framing counts too).
thread_local bool requestTooLarge = false;

// A connection's socket read under the server's limits: every wait ends at
// the request's deadline, when the server stops, or when the request has
// sent more bytes than it may. Reads are buffered: the HTTP parser reads
// headers a byte at a time.
class LimitedStream : public httplib::Stream {
public:
    LimitedStream(int sock, const StudioServerLimits &limits, const std::atomic<bool> &stopping)
        : sock_(sock), limits_(limits), stopping_(stopping) {}

    // Waits for the first byte of the next request, then starts its clock
    // and its byte count. False when none came in time.
    bool nextRequest() {
        if (begin_ == end_ && !waitFor(POLLIN, Clock::now() + limits_.idleTime)) return false;
        deadline_ = Clock::now() + limits_.requestTime;
        budget_ = limits_.maxBodyBytes + kHeaderBytes;
        writeDeadline_.reset();
        return true;
    }

    bool is_readable() const override { return begin_ != end_ || waitFor(POLLIN, deadline_); }
    bool is_writable() const override { return waitFor(POLLOUT, Clock::now() + limits_.writeTime); }

    ssize_t read(char *ptr, size_t size) override {
        if (budget_ == 0) {
            requestTooLarge = true;
            return -1;
        }
        if (begin_ == end_) {
            if (!waitFor(POLLIN, deadline_)) return -1;
            ssize_t n;
            do n = ::recv(sock_, buffer_, sizeof buffer_, 0);
            while (n < 0 && errno == EINTR);
            if (n <= 0) return n;
            begin_ = 0;
            end_ = size_t(n);
        }
        const size_t n = std::min({size, end_ - begin_, budget_});
        std::copy(buffer_ + begin_, buffer_ + begin_ + n, ptr);
        begin_ += n;
        budget_ -= n;
        return ssize_t(n);
    }

    ssize_t write(const char *ptr, size_t size) override {
        // One answer has writeTime to go out, however slowly it is read.
        if (!writeDeadline_) writeDeadline_ = Clock::now() + limits_.writeTime;
        if (!waitFor(POLLOUT, *writeDeadline_)) return -1;
        ssize_t n;
        do n = ::send(sock_, ptr, size, MSG_NOSIGNAL);
        while (n < 0 && errno == EINTR);
        return n;
    }

    void get_remote_ip_and_port(std::string &ip, int &port) const override { address(::getpeername, ip, port); }
    void get_local_ip_and_port(std::string &ip, int &port) const override { address(::getsockname, ip, port); }
    socket_t socket() const override { return sock_; }

private:
    bool waitFor(short events, Clock::time_point until) const {
        for (;;) {
            if (stopping_) return false;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
            if (left.count() <= 0) return false;
            pollfd p{sock_, events, 0};
            const int ready = ::poll(&p, 1, int(std::min(left, kStopCheck).count()));
            if (ready > 0) return true;
            if (ready < 0 && errno != EINTR) return false;
        }
    }

    template <class F> void address(F get, std::string &ip, int &port) const {
        sockaddr_storage a{};
        socklen_t length = sizeof a;
        ip.clear();
        port = -1;
        if (get(sock_, reinterpret_cast<sockaddr *>(&a), &length) != 0 || a.ss_family != AF_INET) return;
        const auto &v4 = reinterpret_cast<const sockaddr_in &>(a);
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text)) ip = text;
        port = ntohs(v4.sin_port);
    }

    int sock_;
    const StudioServerLimits &limits_;
    const std::atomic<bool> &stopping_;
    Clock::time_point deadline_{};
    std::optional<Clock::time_point> writeDeadline_;
    size_t budget_ = 0;
    char buffer_[4096];
    size_t begin_ = 0, end_ = 0;
};

// A thread for each connection, so that no connection waits for another;
// the server's connection limit bounds how many there are.
class ConnectionThreads : public httplib::TaskQueue {
public:
    explicit ConnectionThreads(std::function<void()> idle) : onIdle_(std::move(idle)) {}

    // Called by the accepting loop between connections.
    void on_idle() override { onIdle_(); }

    void enqueue(std::function<void()> fn) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++running_;
        }
        try {
            std::thread([this, fn = std::move(fn)]() mutable {
                fn();
                finished();
            }).detach();
        } catch (const std::system_error &) {
            // No thread to be had: served here, which the limit keeps short.
            fn();
            finished();
        }
    }

    void shutdown() override {
        std::unique_lock<std::mutex> lock(mutex_);
        idle_.wait(lock, [this] { return running_ == 0; });
    }

private:
    void finished() {
        std::lock_guard<std::mutex> lock(mutex_);
        --running_;
        idle_.notify_all();
    }

    std::function<void()> onIdle_;
    std::mutex mutex_;
    std::condition_variable idle_;
    size_t running_ = 0;
};

std::string errorBody(const std::string &message) { return nlohmann::json{{"error", message}}.dump(); }

// A connection beyond the limit: told so at once, without reading it.
void refuseConnection(int sock) {
    const std::string body = errorBody("the studio is serving too many connections; try again");
    std::string answer = "HTTP/1.1 503 Service Unavailable\r\nContent-Type: application/json\r\nContent-Length: " +
                         std::to_string(body.size()) + "\r\nConnection: close\r\nRetry-After: 1\r\n";
    for (const auto &[name, value] : studioResponseHeaders("application/json")) answer += name + ": " + value + "\r\n";
    answer += "\r\n" + body;
    [[maybe_unused]] const ssize_t sent = ::send(sock, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

// Closing a socket with bytes unread resets the connection, and the client
// may lose the answer it was sent. What the client is still sending is read
// and dropped while it keeps coming, for a fifth of a second at most.
void dropUnread(int sock) {
    ::shutdown(sock, SHUT_WR);
    const auto until = Clock::now() + std::chrono::milliseconds(200);
    char drop[4096];
    for (;;) {
        const ssize_t n = ::recv(sock, drop, sizeof drop, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) return;
        pollfd p{sock, POLLIN, 0};
        if (Clock::now() >= until || (n < 0 && ::poll(&p, 1, 20) <= 0)) return;
    }
}

class Server : public httplib::Server {
public:
    explicit Server(const StudioServerLimits &limits) : limits_(limits) {
        // The accepting loop wakes this often, and stops when asked to even
        // if it was asked before it began.
        set_idle_interval(0, 100000);
        new_task_queue = [this] {
            return new ConnectionThreads([this] {
                if (stopping_) stop();
            });
        };
    }

    // Connections waiting to be accepted: the library asks for 5, and a
    // burst of connections beyond them would wait seconds to be retried.
    void deepenBacklog() { ::listen(svr_sock_, 256); }

    void stopServing() {
        stopping_ = true;
        stop();
    }

private:
    // Replaces the library's loop over a connection's requests, whose waits
    // have no end while bytes trickle in and which notices a stop only after
    // its time-outs.
    bool process_and_close_socket(socket_t sock) override {
        if (++connections_ > limits_.maxConnections) {
            refuseConnection(sock);
        } else {
            LimitedStream stream(sock, limits_, stopping_);
            for (size_t n = 1; n <= limits_.maxRequestsPerConnection && !stopping_ && stream.nextRequest(); ++n) {
                closeAfterAnswer = requestTooLarge = false;
                bool closed = false;
                const bool last = n == limits_.maxRequestsPerConnection;
                if (!process_request(stream, last, closed, nullptr) || closed) break;
                if (closeAfterAnswer) {
                    dropUnread(sock);
                    break;
                }
            }
        }
        --connections_;
        ::shutdown(sock, SHUT_RDWR);
        ::close(sock);
        return true;
    }

    const StudioServerLimits &limits_;
    std::atomic<bool> stopping_{false};
    std::atomic<size_t> connections_{0};
};

StudioRequest toStudioRequest(const httplib::Request &r, std::string body) {
    StudioRequest out{r.method,
                      r.path,
                      {},
                      std::move(body),
                      r.get_header_value("Host"),
                      r.get_header_value("Origin"),
                      r.get_header_value("Content-Type")};
    for (const auto &p : r.params) out.query.emplace(p.first, p.second);
    out.order = r.get_header_value("X-Studio-Order");
    return out;
}

void answer(httplib::Response &res, const StudioResponse &answer) {
    res.status = answer.status;
    for (const auto &[name, value] : answer.headers) res.set_header(name, value);
    res.set_content(answer.body, answer.contentType.c_str());
}

void refuse(httplib::Response &res, int status, const std::string &message) {
    answer(res, StudioResponse{status, "application/json", errorBody(message)});
    closeAfterAnswer = true;
}

}  // namespace

struct StudioServer::Impl {
    Impl(StudioHandler h, StudioServerLimits l) : handler(std::move(h)), limits(l), server(limits) {}
    StudioHandler handler;
    StudioServerLimits limits;
    Server server;
};

StudioServer::StudioServer(StudioHandler handler, StudioServerLimits limits)
    : impl_(std::make_unique<Impl>(std::move(handler), limits)) {
    Impl &impl = *impl_;
    httplib::Server &server = impl.server;
    server.set_payload_max_length(impl.limits.maxBodyBytes);
    server.set_keep_alive_max_count(impl.limits.maxRequestsPerConnection);
    // An answer goes out at once: with Nagle's wait on, every other answer
    // to the pen's stream of calls waited 40 ms for the browser's delayed
    // acknowledgement.
    server.set_tcp_nodelay(true);
    server.set_keep_alive_timeout(std::max<time_t>(1, time_t(impl.limits.idleTime.count() / 1000)));
    // Before any body is read: only what the studio answers, and no body
    // the library would decode into more than it was sent.
    server.set_pre_routing_handler([](const httplib::Request &req, httplib::Response &res) {
        if (req.method != "GET" && req.method != "HEAD" && req.method != "POST") {
            refuse(res, 405, req.method + " is not served; the studio answers GET and POST");
            return httplib::Server::HandlerResponse::Handled;
        }
        const std::string encoding = req.get_header_value("Content-Encoding");
        if (!encoding.empty() && encoding != "identity") {
            refuse(res, 415, "the studio takes bodies as they are, not compressed");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get(".*", [&impl](const httplib::Request &req, httplib::Response &res) {
        answer(res, impl.handler(toStudioRequest(req, {})));
    });
    // Bodies are counted as they arrive: a chunked body carries no length
    // the library could check first.
    server.Post(".*", [&impl](const httplib::Request &req, httplib::Response &res, const httplib::ContentReader &read) {
        std::string body;
        bool tooLarge = false;
        const bool whole = read([&](const char *data, size_t size) {
            if (size > impl.limits.maxBodyBytes - body.size()) {
                tooLarge = true;
                return false;
            }
            body.append(data, size);
            return true;
        });
        if (tooLarge || requestTooLarge || res.status == 413) {
            refuse(res, 413, "a request's body may hold at most " + std::to_string(impl.limits.maxBodyBytes) + " bytes");
            return;
        }
        if (!whole) {
            refuse(res, 400, "the request's body did not arrive whole in time");
            return;
        }
        answer(res, impl.handler(toStudioRequest(req, std::move(body))));
    });
    // Every answer, the library's own refusals too.
    server.set_post_routing_handler([](const httplib::Request &, httplib::Response &res) {
        for (const auto &[name, value] : studioResponseHeaders(res.get_header_value("Content-Type")))
            res.set_header(name, value);
    });
}

StudioServer::~StudioServer() = default;

int StudioServer::bind(int port) {
    // Only this machine may reach it: the loopback address, never all interfaces.
    if (port == 0) port = impl_->server.bind_to_any_port("127.0.0.1");
    else if (!impl_->server.bind_to_port("127.0.0.1", port)) port = -1;
    if (port > 0) impl_->server.deepenBacklog();
    return port;
}

void StudioServer::serve() { impl_->server.listen_after_bind(); }

void StudioServer::stop() { impl_->server.stopServing(); }

}  // namespace smear
