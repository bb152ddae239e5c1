// A small client of the WebDriver protocol as chromedriver speaks it, and the
// child processes a browser test starts (the studio, the driver).
#pragma once

#include <string>
#include <vector>

#include <httplib.h>
#include <nlohmann/json.hpp>
#include <sys/types.h>

namespace smear::browser {

// A program started with its output to a pipe (or to the test's own), ended
// (SIGTERM, then SIGKILL) when this goes out of scope.
class Child {
public:
    Child(const std::vector<std::string> &argv, bool captureOutput);
    ~Child();
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;
    bool running() const { return pid_ > 0; }
    // The next line of its output, waiting at most `seconds`; false at its end or on time-out.
    bool readLine(std::string &line, double seconds);
    // Ends it and says whether it exited with 0.
    bool stop();
    // Sends it a signal, and for SIGKILL waits until it is gone.
    void signal(int number);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffered_;
};

// A free port on the loopback address, as the system hands one out.
int freePort();

class WebDriver {
public:
    explicit WebDriver(int port);
    ~WebDriver();
    // Starts a headless browser session; false with a message.
    // Its profile lives in `profileDir`, not in the user's home.
    bool start(const std::string &browserBinary, const std::string &profileDir, std::string &error);
    // Ends the browser session: the browser quits.
    void quit();
    nlohmann::json call(const std::string &method, const std::string &path, const nlohmann::json &body = {});
    void go(const std::string &url);
    nlohmann::json script(const std::string &body, const nlohmann::json &args = nlohmann::json::array());
    std::string find(const std::string &css);  // an element id; throws when there is none
    void click(const std::string &css);
    void type(const std::string &css, const std::string &text);  // clears the field first
    void actions(const nlohmann::json &sources);
    std::vector<unsigned char> screenshot();  // PNG bytes

private:
    httplib::Client client_;
    std::string session_;
};

}  // namespace smear::browser
