#include "webdriver.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <thread>

namespace smear::browser {

using nlohmann::json;

Child::Child(const std::vector<std::string> &argv, bool captureOutput) {
    int pipeFds[2] = {-1, -1};
    if (captureOutput && pipe(pipeFds) != 0) return;
    std::vector<char *> args;
    for (const std::string &a : argv) args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        if (captureOutput) {
            dup2(pipeFds[1], STDOUT_FILENO);
            close(pipeFds[0]);
            close(pipeFds[1]);
        }
        execv(args[0], args.data());
        _exit(127);
    }
    if (captureOutput) {
        close(pipeFds[1]);
        out_ = pipeFds[0];
    }
}

Child::~Child() { stop(); }

bool Child::readLine(std::string &line, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (true) {
        const size_t newline = buffered_.find('\n');
        if (newline != std::string::npos) {
            line = buffered_.substr(0, newline);
            buffered_.erase(0, newline + 1);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (out_ < 0 || left.count() <= 0) return false;
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, int(left.count())) <= 0) return false;
        char chunk[512];
        const ssize_t n = read(out_, chunk, sizeof chunk);
        if (n <= 0) return false;
        buffered_.append(chunk, size_t(n));
    }
}

bool Child::stop() {
    if (pid_ <= 0) return false;
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) break;
        if (i == 99) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    pid_ = -1;
    if (out_ >= 0) close(out_);
    out_ = -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Child::signal(int number) {
    if (pid_ <= 0) return;
    kill(pid_, number);
    if (number != SIGKILL) return;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

int freePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof a;
    int port = -1;
    if (bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr *>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    close(s);
    return port;
}

WebDriver::WebDriver(int port) : client_("127.0.0.1", port) {
    client_.set_read_timeout(60, 0);
    client_.set_connection_timeout(5, 0);
}

WebDriver::~WebDriver() { quit(); }

void WebDriver::quit() {
    if (!session_.empty()) client_.Delete(("/session/" + session_).c_str());
    session_.clear();
}

bool WebDriver::start(const std::string &browserBinary, const std::string &profileDir, std::string &error) {
    // The driver takes a moment to listen.
    for (int i = 0; i < 100; ++i) {
        if (auto r = client_.Get("/status"); r && r->status == 200) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const json caps = {{"capabilities",
                        {{"alwaysMatch",
                          {{"browserName", "chrome"},
                           {"goog:chromeOptions",
                            {{"binary", browserBinary},
                             {"args", {"--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                                       "--window-size=1300,860", "--hide-scrollbars", "--disable-crash-reporter",
                                       "--user-data-dir=" + profileDir}}}}}}}}};
    auto r = client_.Post("/session", caps.dump(), "application/json");
    if (!r) {
        error = "chromedriver does not answer";
        return false;
    }
    const json answer = json::parse(r->body, nullptr, false);
    if (r->status != 200 || !answer.contains("value") || !answer["value"].contains("sessionId")) {
        error = "chromedriver started no browser: " + r->body.substr(0, 600);
        return false;
    }
    session_ = answer["value"]["sessionId"];
    return true;
}

json WebDriver::call(const std::string &method, const std::string &path, const json &body) {
    const std::string url = "/session/" + session_ + path;
    httplib::Result r = method == "GET" ? client_.Get(url.c_str())
                                        : client_.Post(url.c_str(), body.is_null() ? "{}" : body.dump(), "application/json");
    if (!r) throw std::runtime_error("WebDriver " + method + " " + path + ": no answer");
    const json answer = json::parse(r->body, nullptr, false);
    if (r->status != 200 || answer.is_discarded())
        throw std::runtime_error("WebDriver " + method + " " + path + ": " + r->body.substr(0, 600));
    return answer["value"];
}

void WebDriver::go(const std::string &url) { call("POST", "/url", {{"url", url}}); }

json WebDriver::script(const std::string &body, const json &args) {
    return call("POST", "/execute/sync", {{"script", body}, {"args", args}});
}

std::string WebDriver::find(const std::string &css) {
    const json e = call("POST", "/element", {{"using", "css selector"}, {"value", css}});
    return e.begin().value().get<std::string>();
}

void WebDriver::click(const std::string &css) { call("POST", "/element/" + find(css) + "/click", json::object()); }

void WebDriver::type(const std::string &css, const std::string &text) {
    const std::string id = find(css);
    call("POST", "/element/" + id + "/clear", json::object());
    call("POST", "/element/" + id + "/value", {{"text", text}});
}

void WebDriver::actions(const json &sources) { call("POST", "/actions", {{"actions", sources}}); }

std::vector<unsigned char> WebDriver::screenshot() {
    const std::string b64 = call("GET", "/screenshot");
    std::vector<unsigned char> out;
    unsigned value = 0;
    int bits = 0;
    for (char c : b64) {
        const char *alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        const char *at = std::strchr(alphabet, c);
        if (c == '\0' || !at) continue;  // padding, line breaks
        value = (value << 6) | unsigned(at - alphabet);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<unsigned char>((value >> bits) & 0xFF));
        }
    }
    return out;
}

}  // namespace smear::browser
