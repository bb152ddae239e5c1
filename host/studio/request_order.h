// Calls the page sends one after another without waiting for the answers
// (a pen's moves, as they come), played in the order the page sent them.
// Each carries its page's token and its place in that page's order (the
// X-Studio-Order header: "TOKEN PLACE"); the server's threads may take them
// up in any order, and one that arrives early waits for those before it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace smear {

class RequestOrder {
public:
    explicit RequestOrder(std::chrono::milliseconds patience = std::chrono::milliseconds(2000))
        : patience_(patience) {}

    // Waits, with `lock` held on the mutex that serves one call at a time,
    // until the call is next in its page's order. A page seen for the first
    // time (one loaded again) starts its own order, from 1. A call before it that
    // never comes (one the server refused unread) is given up after the
    // patience. Calls without an order ("" header) go when they come.
    void waitTurn(const std::string &header, std::unique_lock<std::mutex> &lock);
    // The call is done: the next may go.
    void done(const std::string &header);

private:
    static bool parse(const std::string &header, std::string &page, long &place);

    std::chrono::milliseconds patience_;
    std::condition_variable turn_;
    std::string page_;
    std::vector<std::string> gone_;  // the last pages loaded before it
    long next_ = 0;
};

}  // namespace smear
