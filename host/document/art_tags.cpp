#include "art_tags.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <utility>

namespace smear {

namespace {

struct KeyOrder {
    using is_transparent = void;
    using Pair = std::pair<std::string_view, std::string_view>;
    static Pair pair(const TagKey &k) { return {k.name, k.type}; }
    static Pair pair(const Pair &p) { return p; }
    template <class A, class B> bool operator()(const A &a, const B &b) const { return pair(a) < pair(b); }
};

}  // namespace

const TagKey *internTagKey(std::string_view name, std::string_view type) {
    static std::mutex guard;
    static std::set<TagKey, KeyOrder> keys;  // nodes never move
    const std::lock_guard<std::mutex> lock(guard);
    auto it = keys.find(KeyOrder::Pair{name, type});
    if (it == keys.end()) it = keys.insert(TagKey{std::string(name), std::string(type), tagTypeOf(type)}).first;
    return &*it;
}

TagType tagTypeOf(std::string_view type) {
    if (type == "string") return TagType::kString;
    if (type == "integer") return TagType::kInteger;
    if (type == "real") return TagType::kReal;
    return TagType::kOther;
}

size_t ArtTags::restLowerBound(std::string_view name) const {
    const auto it = std::lower_bound(rest_->begin(), rest_->end(), name,
                                     [](const Entry &e, std::string_view n) { return std::string_view(e.key->name) < n; });
    return size_t(it - rest_->begin());
}

namespace {
std::string_view toNul(std::string_view text) { return text.substr(0, text.find('\0')); }
}  // namespace

void ArtTags::set(std::string_view name, std::string_view type, std::string_view value) {
    name = toNul(name);
    type = toNul(type);
    value = toNul(value);
    if (const Entry *found = find(name)) {
        Entry &e = const_cast<Entry &>(*found);
        if (e.key->type != type) e.key = internTagKey(name, type);
        if (e.value != value) e.value.assign(value);
        return;
    }
    Entry fresh{TagText(value), internTagKey(name, type)};
    if (!first_.key) {
        first_ = std::move(fresh);
        return;
    }
    if (!rest_) rest_ = std::make_unique<std::vector<Entry>>();
    if (name < first_.key->name) {
        // The new name comes first: the old first tag moves to the list.
        rest_->insert(rest_->begin(), std::move(first_));
        first_ = std::move(fresh);
        return;
    }
    rest_->insert(rest_->begin() + std::ptrdiff_t(restLowerBound(name)), std::move(fresh));
}

}  // namespace smear
