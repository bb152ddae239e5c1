// An art object's tags, by name in name order. The plug-in writes one tag on
// every object of the selection on every drag step, so the first tag lives
// inside the object, in the same cache line as its bounds: its name and type
// as one pointer to a key shared by the whole program, its value as a short
// string that needs no heap. Further tags go to a sorted list.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tag_text.h"

namespace smear {

// The types the tag suite reads and writes; any other is kOther.
enum class TagType : unsigned char { kOther, kString, kInteger, kReal };

// Whether the C string `text` is `literal`. It reads `text` only as far as
// it matches, so never past its end; the loop unrolls to a few compares.
template <size_t N> inline bool isText(const char *text, const char (&literal)[N]) {
#pragma GCC unroll 16
    for (size_t i = 0; i < N - 1; ++i)
        if (text[i] != literal[i]) return false;
    return text[N - 1] == '\0';
}
inline TagType tagTypeOf(const char *type) {
    switch (type[0]) {
    case 's': return isText(type + 1, "tring") ? TagType::kString : TagType::kOther;
    case 'i': return isText(type + 1, "nteger") ? TagType::kInteger : TagType::kOther;
    case 'r': return isText(type + 1, "eal") ? TagType::kReal : TagType::kOther;
    default: return TagType::kOther;
    }
}
TagType tagTypeOf(std::string_view type);

// A tag's name and type. Each pair is kept once for the whole program and
// never freed, so a pointer to it names both; tags are written under a few
// names, and a pair once seen is likely to be seen again. A known type is
// also kept as its TagType, which compares as one number.
struct TagKey {
    std::string name;
    std::string type;
    TagType kind = TagType::kOther;
};
// The one key of `name` and `type` (safe from any thread).
const TagKey *internTagKey(std::string_view name, std::string_view type);

// Whether text a tag keeps reads as the C string `text`. Tags hold no NUL
// (set() cuts text at one, as every C string that reaches them is cut), so
// the library's compare, which reads many bytes at a time, says it exactly.
// Names and types live in the shared keys; a value inside an object is
// NUL-terminated there too, and the compare reads 32 bytes of it at once,
// which ArtTags keeps in the object's first cache line.
inline bool sameText(const char *kept, const char *text) { return std::strcmp(kept, text) == 0; }

// A tag as read: references into the object that holds it.
struct TagRef {
    const std::string &name;
    const std::string &type;
    std::string_view value;
};

class ArtTags {
public:
    ArtTags() = default;
    ArtTags(const ArtTags &o) : first_(o.first_), rest_(o.rest_ ? std::make_unique<std::vector<Entry>>(*o.rest_) : nullptr) {}
    ArtTags(ArtTags &&) noexcept = default;
    ArtTags &operator=(const ArtTags &o) {
        if (this != &o) *this = ArtTags(o);
        return *this;
    }
    ArtTags &operator=(ArtTags &&) noexcept = default;

    size_t size() const { return first_.key ? 1 + (rest_ ? rest_->size() : 0) : 0; }
    bool empty() const { return first_.key == nullptr; }
    void clear() {
        first_ = Entry();
        rest_.reset();
    }

    class const_iterator {
    public:
        const_iterator(const ArtTags *tags, size_t i) : tags_(tags), i_(i) {}
        TagRef operator*() const {
            const Entry &e = tags_->entry(i_);
            return {e.key->name, e.key->type, e.value};
        }
        const_iterator &operator++() {
            ++i_;
            return *this;
        }
        bool operator==(const const_iterator &o) const { return i_ == o.i_; }
        bool operator!=(const const_iterator &o) const { return i_ != o.i_; }

    private:
        const ArtTags *tags_;
        size_t i_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // The tag with the name, or null.
    const TagText *value(std::string_view name) const {
        const Entry *e = find(name);
        return e ? &e->value : nullptr;
    }
    const std::string *type(std::string_view name) const {
        const Entry *e = find(name);
        return e ? &e->key->type : nullptr;
    }
    size_t count(std::string_view name) const { return find(name) != nullptr; }
    // Whether the object carries exactly this tag: a tag written again
    // costs a look at the object's own cache line and nothing else.
    bool holds(std::string_view name, std::string_view type, std::string_view value) const {
        const Entry *e = find(name);
        return e && e->key->type == type && e->value.view() == value;
    }
    bool holds(const char *name, const char *type, const char *value) const {
        const TagType known = tagTypeOf(type);
        if (known != TagType::kOther) return holds(name, known, value);
        const Entry *e = findText(name);
        return e && sameText(e->key->type.c_str(), type) && sameText(e->value.c_str(), value);
    }
    // The same for a type known by its TagType (not kOther).
    bool holds(const char *name, TagType type, const char *value) const {
        const Entry *e = findText(name);
        return e && e->key->kind == type && sameText(e->value.c_str(), value);
    }
    // Adds the tag, or gives the tag of that name this type and value. Each
    // text ends at its first NUL, if it holds one.
    void set(std::string_view name, std::string_view type, std::string_view value);

    bool operator==(const ArtTags &o) const {
        const size_t n = size();
        if (n != o.size()) return false;
        // Keys are unique per name and type, so comparing pointers suffices.
        for (size_t i = 0; i < n; ++i)
            if (entry(i).key != o.entry(i).key || entry(i).value != o.entry(i).value) return false;
        return true;
    }
    bool operator!=(const ArtTags &o) const { return !(*this == o); }

private:
    // The value first: the library's compare reads 32 bytes from where a
    // value starts, and from the start of an object's tags those stay in
    // the object's first cache line.
    struct Entry {
        TagText value;
        const TagKey *key = nullptr;
    };
    const Entry &entry(size_t i) const { return i == 0 ? first_ : (*rest_)[i - 1]; }
    Entry &entry(size_t i) { return i == 0 ? first_ : (*rest_)[i - 1]; }
    const Entry *find(std::string_view name) const {
        if (!first_.key) return nullptr;
        // The one tag most objects carry is found without a search.
        if (first_.key->name == name) return &first_;
        if (!rest_) return nullptr;
        const size_t at = restLowerBound(name);
        return at < rest_->size() && (*rest_)[at].key->name == name ? &(*rest_)[at] : nullptr;
    }
    const Entry *findText(const char *name) const {
        return first_.key && sameText(first_.key->name.c_str(), name) ? &first_ : find(name);
    }
    // Where `name` goes in the list past the first tag.
    size_t restLowerBound(std::string_view name) const;

    Entry first_;
    std::unique_ptr<std::vector<Entry>> rest_;
};

}  // namespace smear
