// A small writer of indented XML text with proper escaping; the SVG writer
// builds its output with it (and needs no XML library, so it also builds
// where none is available).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace smear {

class XmlOut {
public:
    explicit XmlOut(int baseDepth = 0) : base_(baseDepth) {}

    void start(std::string_view name);
    void attr(std::string_view name, std::string_view value);
    // Character data inside the current element; the element is then kept on
    // one line so that no indentation joins the text.
    void text(std::string_view content);
    // Markup that is already well-formed XML, placed as the next child.
    void raw(std::string_view markup);
    void end();

    // Closes every open element and hands the text over.
    std::string take();

    // Markup for the text. XML carries only UTF-8 text without control
    // characters (but tab, line feed and carriage return): each byte that
    // is no part of a UTF-8 sequence and each such character shows as
    // U+FFFD.
    static std::string escape(std::string_view text, bool attribute);
    // The text with what XML cannot carry replaced, as reading escape()'s
    // markup back gives it.
    static std::string carried(std::string_view text);

private:
    void closeStartTag();
    void newline(size_t depth);

    struct Open {
        std::string name;
        bool hasContent = false;
        bool hasText = false;
    };
    std::string out_;
    std::vector<Open> open_;
    bool startTagOpen_ = false;
    int base_ = 0;
};

}  // namespace smear
