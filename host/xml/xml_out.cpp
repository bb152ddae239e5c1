#include "xml_out.h"

namespace smear {

namespace {

// Length of the UTF-8 sequence starting with `lead`, 0 if it cannot start one.
size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xc2 && lead <= 0xdf) return 2;
    if (lead >= 0xe0 && lead <= 0xef) return 3;
    if (lead >= 0xf0 && lead <= 0xf4) return 4;
    return 0;
}

}  // namespace

std::string XmlOut::carried(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t n = sequenceLength(c);
        bool valid = n > 0 && i + n <= text.size();
        for (size_t k = 1; valid && k < n; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
        // Not UTF-8, or a control character XML 1.0 does not allow.
        if (!valid || (c < 0x20 && c != '\n' && c != '\r' && c != '\t')) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        out.append(text.substr(i, n));
        i += n;
    }
    return out;
}

std::string XmlOut::escape(std::string_view text, bool attribute) {
    // What XML cannot carry is replaced first; the rest needs only markup.
    const std::string plain = carried(text);
    std::string out;
    out.reserve(plain.size());
    for (const char c : plain) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += attribute ? "&quot;" : "\""; break;
        // Attribute values would have these folded into spaces on reading.
        case '\n': out += attribute ? "&#10;" : "\n"; break;
        case '\r': out += "&#13;"; break;
        case '\t': out += attribute ? "&#9;" : "\t"; break;
        default: out += c;
        }
    }
    return out;
}

void XmlOut::newline(size_t depth) {
    if (!out_.empty()) out_ += '\n';
    out_.append(2 * (depth + size_t(base_)), ' ');
}

void XmlOut::closeStartTag() {
    if (startTagOpen_) {
        out_ += '>';
        startTagOpen_ = false;
    }
}

void XmlOut::start(std::string_view name) {
    closeStartTag();
    const bool inText = !open_.empty() && open_.back().hasText;
    if (!open_.empty()) open_.back().hasContent = true;
    if (!inText) newline(open_.size());
    out_ += '<';
    out_.append(name);
    open_.push_back({std::string(name), false, inText});
    startTagOpen_ = true;
}

void XmlOut::attr(std::string_view name, std::string_view value) {
    out_ += ' ';
    out_.append(name);
    out_ += "=\"";
    out_ += escape(value, true);
    out_ += '"';
}

void XmlOut::text(std::string_view content) {
    closeStartTag();
    if (!open_.empty()) {
        open_.back().hasContent = true;
        open_.back().hasText = true;
    }
    out_ += escape(content, false);
}

void XmlOut::raw(std::string_view markup) {
    closeStartTag();
    if (!open_.empty()) open_.back().hasContent = true;
    newline(open_.size());
    out_.append(markup);
}

void XmlOut::end() {
    if (open_.empty()) return;
    const Open e = open_.back();
    open_.pop_back();
    if (startTagOpen_) {
        out_ += "/>";
        startTagOpen_ = false;
        return;
    }
    if (!e.hasText) newline(open_.size());
    out_ += "</";
    out_ += e.name;
    out_ += '>';
}

std::string XmlOut::take() {
    while (!open_.empty()) end();
    out_ += '\n';
    return std::move(out_);
}

}  // namespace smear
