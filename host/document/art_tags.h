// An art object's tags, by name in name order. The first lives inside the
// object itself: the plug-in writes one tag on every object of the selection
// on every drag step, and a tag found beside the object's bounds costs no
// trip to a heap node of its own. Further tags go to a sorted list.
#pragma once

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace smear {

struct ArtTag {
    std::string type;
    std::string value;
};

class ArtTags {
public:
    using value_type = std::pair<std::string, ArtTag>;

    template <class Tags, class Value> class basic_iterator {
    public:
        basic_iterator(Tags *tags, size_t i) : tags_(tags), i_(i) {}
        Value &operator*() const { return tags_->entry(i_); }
        Value *operator->() const { return &tags_->entry(i_); }
        basic_iterator &operator++() {
            ++i_;
            return *this;
        }
        bool operator==(const basic_iterator &o) const { return i_ == o.i_; }
        bool operator!=(const basic_iterator &o) const { return i_ != o.i_; }
        size_t index() const { return i_; }

    private:
        Tags *tags_;
        size_t i_;
    };
    using iterator = basic_iterator<ArtTags, value_type>;
    using const_iterator = basic_iterator<const ArtTags, const value_type>;

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() {
        first_ = value_type();
        rest_.clear();
        size_ = 0;
    }

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size_}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size_}; }

    iterator find(std::string_view name) { return {this, indexOf(name)}; }
    const_iterator find(std::string_view name) const { return {this, indexOf(name)}; }
    size_t count(std::string_view name) const { return indexOf(name) != size_; }

    // Adds the tag when no tag has the name; the tag with it, and whether it was added.
    std::pair<iterator, bool> emplace(std::string_view name, ArtTag tag) {
        const size_t at = lowerBound(name);
        if (at < size_ && entry(at).first == name) return {{this, at}, false};
        value_type entry{std::string(name), std::move(tag)};
        if (size_ == 0) {
            first_ = std::move(entry);
        } else if (at == 0) {
            rest_.insert(rest_.begin(), std::move(first_));
            first_ = std::move(entry);
        } else {
            rest_.insert(rest_.begin() + std::ptrdiff_t(at - 1), std::move(entry));
        }
        ++size_;
        return {{this, at}, true};
    }
    ArtTag &operator[](std::string_view name) { return emplace(name, ArtTag{}).first->second; }
    // The tag with the name, which must be there.
    const ArtTag &at(std::string_view name) const {
        const size_t i = indexOf(name);
        if (i == size_) throw std::out_of_range("no tag named " + std::string(name));
        return entry(i).second;
    }

    bool operator==(const ArtTags &o) const {
        if (size_ != o.size_) return false;
        for (size_t i = 0; i < size_; ++i)
            if (entry(i).first != o.entry(i).first || entry(i).second.type != o.entry(i).second.type ||
                entry(i).second.value != o.entry(i).second.value)
                return false;
        return true;
    }
    bool operator!=(const ArtTags &o) const { return !(*this == o); }

private:
    template <class, class> friend class basic_iterator;
    value_type &entry(size_t i) { return i == 0 ? first_ : rest_[i - 1]; }
    const value_type &entry(size_t i) const { return i == 0 ? first_ : rest_[i - 1]; }
    size_t lowerBound(std::string_view name) const {
        if (size_ == 0 || std::string_view(first_.first) >= name) return 0;
        auto it = std::lower_bound(rest_.begin(), rest_.end(), name,
                                   [](const value_type &e, std::string_view n) { return std::string_view(e.first) < n; });
        return size_t(it - rest_.begin()) + 1;
    }
    size_t indexOf(std::string_view name) const {
        // The one tag most objects carry is found without a search.
        if (size_ != 0 && first_.first == name) return 0;
        const size_t at = lowerBound(name);
        return at < size_ && entry(at).first == name ? at : size_;
    }

    size_t size_ = 0;
    value_type first_;
    std::vector<value_type> rest_;
};

}  // namespace smear
