#include "request_order.h"

#include <algorithm>
#include <cstdlib>

namespace smear {

bool RequestOrder::parse(const std::string &header, std::string &page, long &place) {
    const size_t space = header.find(' ');
    if (space == std::string::npos || space == 0 || space > 64) return false;
    const std::string number = header.substr(space + 1);
    if (number.empty() || number.size() > 15 || number.find_first_not_of("0123456789") != std::string::npos)
        return false;
    page = header.substr(0, space);
    place = std::strtol(number.c_str(), nullptr, 10);
    return true;
}

void RequestOrder::waitTurn(const std::string &header, std::unique_lock<std::mutex> &lock) {
    std::string page;
    long place = 0;
    if (!parse(header, page, place)) return;
    if (page != page_) {
        // A call of a page that was loaded again since: nothing follows it.
        if (std::find(gone_.begin(), gone_.end(), page) != gone_.end()) return;
        // A page counts its calls from 1.
        if (!page_.empty()) gone_.push_back(page_);
        if (gone_.size() > 16) gone_.erase(gone_.begin());
        page_ = page;
        next_ = 1;
    }
    const auto deadline = std::chrono::steady_clock::now() + patience_;
    if (!turn_.wait_until(lock, deadline, [&] { return page_ != page || next_ >= place; }) && page_ == page)
        next_ = place;  // what came before it is lost: go on without it
}

void RequestOrder::done(const std::string &header) {
    std::string page;
    long place = 0;
    if (!parse(header, page, place)) return;
    if (page == page_ && place >= next_) next_ = place + 1;
    turn_.notify_all();
}

}  // namespace smear
