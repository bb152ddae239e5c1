// The studio's server under the loads a local program can put on it, on
// the loopback address only: idle and trickling connections, bodies larger
// than it takes in every encoding, more connections than it serves, and a
// stop asked while all of that is open.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "studio_server.h"

namespace smear {
namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A socket connected to 127.0.0.1:port, closed when this goes.
class Connection {
public:
    explicit Connection(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(uint16_t(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
    }
    ~Connection() { ::close(fd_); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool connected() const { return connected_; }
    bool send(const std::string &bytes) {
        size_t at = 0;
        while (at < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
            if (n <= 0) return false;
            at += size_t(n);
        }
        return true;
    }
    // Everything until the server closes, or until `seconds` pass.
    std::string receive(double seconds) {
        std::string out;
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        for (;;) {
            const int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count());
            pollfd p{fd_, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, left) <= 0) return out;
            char buffer[4096];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                closedByServer_ = true;
                return out;
            }
            out.append(buffer, size_t(n));
        }
    }
    bool closedByServer() const { return closedByServer_; }

private:
    int fd_;
    bool connected_ = false;
    bool closedByServer_ = false;
};

std::string get(const std::string &path) {
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
}

int statusOf(const std::string &answer) {
    return answer.compare(0, 9, "HTTP/1.1 ") == 0 ? std::atoi(answer.c_str() + 9) : 0;
}

class StudioServerTest : public ::testing::Test {
protected:
    void start(StudioServerLimits limits) {
        server_ = std::make_unique<StudioServer>(
            [this](const StudioRequest &r) {
                ++answered_;
                size_t seen = largestBody_;
                while (r.body.size() > seen && !largestBody_.compare_exchange_weak(seen, r.body.size())) {
                }
                return StudioResponse{200, "application/json", "{\"path\": \"" + r.path + "\"}"};
            },
            limits);
        port_ = server_->bind(0);
        ASSERT_GT(port_, 0);
        serving_ = std::thread([this] {
            server_->serve();
            stopped_ = true;
        });
    }
    void TearDown() override {
        if (server_) server_->stop();
        if (serving_.joinable()) serving_.join();
    }
    // Stops the server and says how long it took to end.
    double stopTime() {
        const auto start = Clock::now();
        server_->stop();
        serving_.join();
        return since(start);
    }

    std::unique_ptr<StudioServer> server_;
    std::thread serving_;
    int port_ = 0;
    std::atomic<int> answered_{0};
    std::atomic<size_t> largestBody_{0};
    std::atomic<bool> stopped_{false};
};

TEST_F(StudioServerTest, FiftyIdleAndTricklingConnectionsDelayNoRequestAndNoStop) {
    start({});
    std::vector<std::unique_ptr<Connection>> held;
    for (int i = 0; i < 50; ++i) {
        held.push_back(std::make_unique<Connection>(port_));
        ASSERT_TRUE(held.back()->connected());
        // Half send the start of a request and no more.
        if (i % 2) held.back()->send("GET / HTTP/1.1\r\nHost: 12");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto asked = Clock::now();
    Connection page(port_);
    page.send(get("/api/state"));
    const std::string answer = page.receive(5);
    const double seconds = since(asked);
    EXPECT_EQ(statusOf(answer), 200) << answer;
    // Answered in about a millisecond here; generous against a busy machine.
    EXPECT_LT(seconds, 1.0);
    std::cout << "[ figures  ] a GET beside 50 held connections took " << seconds * 1000 << " ms" << std::endl;
    // Every held connection is let go when the server stops.
    EXPECT_LT(stopTime(), 1.0);
    EXPECT_TRUE(stopped_);
}

TEST_F(StudioServerTest, IdleAndTricklingConnectionsAreClosedInTheirTime) {
    StudioServerLimits limits;
    limits.requestTime = std::chrono::milliseconds(200);
    limits.idleTime = std::chrono::milliseconds(100);
    start(limits);
    Connection idle(port_), trickle(port_);
    const auto opened = Clock::now();
    std::thread sender([&] {
        // One byte of a header each 40 ms, as long as the server takes them.
        const std::string request = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " + std::string(100, 'x');
        for (char c : request) {
            if (!trickle.send(std::string(1, c))) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        }
    });
    EXPECT_EQ(idle.receive(3), "");
    EXPECT_TRUE(idle.closedByServer());
    EXPECT_LT(since(opened), 1.0);
    trickle.receive(3);
    EXPECT_TRUE(trickle.closedByServer());
    EXPECT_LT(since(opened), 1.5);  // 200 ms after its first byte, not 100 bytes later
    sender.join();
    EXPECT_EQ(answered_, 0);
    // A connection that asks in time is answered, and kept for the next.
    Connection keep(port_);
    keep.send("GET /one HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    keep.send("GET /two HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    const std::string both = keep.receive(3);
    EXPECT_NE(both.find("/one"), std::string::npos) << both;
    EXPECT_NE(both.find("/two"), std::string::npos) << both;
}

TEST_F(StudioServerTest, BodiesAreBoundedWhateverTheirEncoding) {
    StudioServerLimits limits;
    limits.maxBodyBytes = 64 << 10;
    start(limits);
    const auto post = [&](const std::string &headers, const std::string &body) {
        Connection c(port_);
        c.send("POST /api/select HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\nConnection: close\r\n" +
               headers + "\r\n");
        c.send(body);  // may fail part way once the server has refused
        return statusOf(c.receive(3));
    };
    std::string chunked;
    for (int i = 0; i < 128; ++i) chunked += "2000\r\n" + std::string(0x2000, ' ') + "\r\n";  // 1 MB
    chunked += "0\r\n\r\n";
    EXPECT_EQ(post("Transfer-Encoding: chunked\r\n", chunked), 413);
    // Tiny chunks: the framing is bounded too.
    std::string tiny;
    for (int i = 0; i < 40000; ++i) tiny += "1\r\n \r\n";
    EXPECT_EQ(post("Transfer-Encoding: chunked\r\n", tiny + "0\r\n\r\n"), 413);
    EXPECT_EQ(post("Content-Length: 1048576\r\n", std::string(1 << 20, ' ')), 413);
    // A compressed body could decode to any size: not taken.
    EXPECT_EQ(post("Content-Encoding: gzip\r\nContent-Length: 4\r\n", "abcd"), 415);
    EXPECT_EQ(post("Content-Length: 2\r\n", "{}"), 200);
    std::string within;
    for (int i = 0; i < 7; ++i) within += "2000\r\n" + std::string(0x2000, ' ') + "\r\n";
    EXPECT_EQ(post("Transfer-Encoding: chunked\r\n", within + "0\r\n\r\n"), 200);
    EXPECT_EQ(largestBody_, 7u * 0x2000);
    EXPECT_EQ(answered_, 2);
}

TEST_F(StudioServerTest, EveryAnswerCarriesThePolicyTheServersOwnRefusalsToo) {
    StudioServerLimits limits;
    limits.maxConnections = 3;
    limits.idleTime = std::chrono::milliseconds(100);
    start(limits);
    const auto headersOf = [&](const std::string &request) {
        Connection c(port_);
        c.send(request);
        const std::string answer = c.receive(3);
        return answer.substr(0, answer.find("\r\n\r\n"));
    };
    for (const std::string &request :
         {get("/drawing.svg"), std::string("PUT /api/save HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n"),
          std::string("OPTIONS /api/select HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"),
          std::string("NONSENSE\r\n\r\n")}) {
        const std::string headers = headersOf(request);
        EXPECT_NE(headers.find("Content-Security-Policy: default-src 'none'"), std::string::npos) << headers;
        EXPECT_NE(headers.find("X-Content-Type-Options: nosniff"), std::string::npos) << headers;
        EXPECT_NE(headers.find("X-Frame-Options: DENY"), std::string::npos) << headers;
    }
    EXPECT_EQ(answered_, 1);
    // Beyond the connection limit: refused at once, with the same headers.
    Connection a(port_), b(port_), c(port_);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto asked = Clock::now();
    const std::string refused = headersOf(get("/"));
    EXPECT_LT(since(asked), 0.5);
    EXPECT_EQ(statusOf(refused), 503) << refused;
    EXPECT_NE(refused.find("X-Frame-Options: DENY"), std::string::npos) << refused;
}

// The program itself: SIGTERM and Ctrl-C end it at once, open connections
// or not, and it shuts the plug-in down as it goes.
TEST(StudioProgram, StopsWithinASecondOfASignal) {
    for (const int signal : {SIGTERM, SIGINT}) {
        int out[2];
        ASSERT_EQ(pipe(out), 0);
        const std::string program = std::string(SMEAR_BUILD_DIR) + "/smearhost";
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execl(program.c_str(), program.c_str(), "studio", "--port", "0", "--out-dir",
                  (std::string(SMEAR_BUILD_DIR) + "/studio_program_test").c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
        close(out[1]);
        std::string printed;
        int port = 0;
        const auto started = Clock::now();
        while (port == 0 && since(started) < 20) {
            pollfd p{out[0], POLLIN, 0};
            if (poll(&p, 1, 200) <= 0) continue;
            char buffer[512];
            const ssize_t n = read(out[0], buffer, sizeof buffer);
            if (n <= 0) break;
            printed.append(buffer, size_t(n));
            const size_t at = printed.find("http://127.0.0.1:");
            if (at != std::string::npos && printed.find('/', at + 17) != std::string::npos)
                port = std::atoi(printed.c_str() + at + 17);
        }
        ASSERT_GT(port, 0) << printed;
        std::vector<std::unique_ptr<Connection>> held;
        for (int i = 0; i < 10; ++i) {
            held.push_back(std::make_unique<Connection>(port));
            if (i % 2) held.back()->send("POST /api/select HTTP/1.1\r\nContent-Length: 100\r\n\r\n{");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto asked = Clock::now();
        kill(pid, signal);
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0 && since(asked) < 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const double seconds = since(asked);
        if (seconds >= 10) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        close(out[0]);
        EXPECT_LT(seconds, 1.0) << "signal " << signal;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "signal " << signal;
    }
}

}  // namespace
}  // namespace smear
