#include "xml_spans.h"

#include "xml_encoding.h"

namespace smear {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Name characters, loosely: everything that cannot end a name in a tag.
bool isNameChar(char c) { return !isSpace(c) && c != '=' && c != '>' && c != '/' && c != '<' && c != '"' && c != '\''; }

class Scan {
public:
    Scan(std::string_view text, std::vector<XmlElementSpan> &spans) : t_(text), spans_(spans) {}

    bool run() {
        std::vector<int> open;
        while (i_ < t_.size()) {
            if (t_[i_] != '<') {
                ++i_;
                continue;
            }
            if (startsWith("<!--")) {
                if (!skipPast("-->", 4)) return false;
            } else if (startsWith("<![CDATA[")) {
                if (!skipPast("]]>", 9)) return false;
            } else if (startsWith("<?")) {
                if (!skipPast("?>", 2)) return false;
            } else if (startsWith("<!")) {
                if (!skipDeclaration()) return false;
            } else if (startsWith("</")) {
                if (open.empty()) return false;
                XmlElementSpan &e = spans_[size_t(open.back())];
                e.close = i_;
                const std::string_view name = t_.substr(e.nameBegin, e.nameEnd - e.nameBegin);
                const size_t after = i_ + 2 + name.size();
                if (t_.substr(i_ + 2, name.size()) != name || after >= t_.size() || isNameChar(t_[after]))
                    return false;
                const size_t gt = t_.find('>', i_);
                if (gt == std::string_view::npos) return false;
                e.end = i_ = gt + 1;
                open.pop_back();
            } else {
                XmlElementSpan e;
                e.open = i_++;
                e.parent = open.empty() ? -1 : open.back();
                if (!startTag(e)) return false;
                spans_.push_back(std::move(e));
                if (!spans_.back().selfClosing) open.push_back(int(spans_.size() - 1));
            }
        }
        return open.empty() && !spans_.empty();
    }

private:
    bool startsWith(std::string_view s) const { return t_.substr(i_, s.size()) == s; }

    bool skipPast(std::string_view terminator, size_t from) {
        const size_t at = t_.find(terminator, i_ + from);
        if (at == std::string_view::npos) return false;
        i_ = at + terminator.size();
        return true;
    }

    bool skipQuoted() {
        const char q = t_[i_];
        const size_t at = t_.find(q, i_ + 1);
        if (at == std::string_view::npos) return false;
        i_ = at + 1;
        return true;
    }

    // <!DOCTYPE ...> with an internal subset of declarations, comments and
    // quoted literals, any of which may hold '>'.
    bool skipDeclaration() {
        i_ += 2;
        int depth = 0;
        while (i_ < t_.size()) {
            const char c = t_[i_];
            if (c == '"' || c == '\'') {
                if (!skipQuoted()) return false;
            } else if (startsWith("<!--")) {
                if (!skipPast("-->", 4)) return false;
            } else if (c == '<') {
                ++depth;
                ++i_;
            } else if (c == '[') {
                ++depth;
                ++i_;
            } else if (c == ']' || (c == '>' && depth > 0)) {
                --depth;
                ++i_;
            } else if (c == '>') {
                ++i_;
                return true;
            } else {
                ++i_;
            }
        }
        return false;
    }

    void skipSpace() {
        while (i_ < t_.size() && isSpace(t_[i_])) ++i_;
    }

    bool startTag(XmlElementSpan &e) {
        e.nameBegin = i_;
        while (i_ < t_.size() && isNameChar(t_[i_])) ++i_;
        e.nameEnd = i_;
        if (e.nameEnd == e.nameBegin) return false;
        for (;;) {
            skipSpace();
            if (i_ >= t_.size()) return false;
            if (t_[i_] == '>') {
                e.openEnd = ++i_;
                return true;
            }
            if (startsWith("/>")) {
                i_ += 2;
                e.openEnd = e.close = e.end = i_;
                e.selfClosing = true;
                return true;
            }
            XmlAttributeSpan a;
            a.nameBegin = i_;
            while (i_ < t_.size() && isNameChar(t_[i_])) ++i_;
            a.nameEnd = i_;
            if (a.nameEnd == a.nameBegin) return false;
            skipSpace();
            if (i_ >= t_.size() || t_[i_] != '=') return false;
            ++i_;
            skipSpace();
            if (i_ >= t_.size() || (t_[i_] != '"' && t_[i_] != '\'')) return false;
            a.valueBegin = i_ + 1;
            if (!skipQuoted()) return false;
            a.valueEnd = i_ - 1;
            e.attributes.push_back(a);
        }
    }

    std::string_view t_;
    std::vector<XmlElementSpan> &spans_;
    size_t i_ = 0;
};

}  // namespace

bool scanXmlSpans(std::string_view text, std::vector<XmlElementSpan> &spans) {
    spans.clear();
    return Scan(text, spans).run();
}

std::string xmlText(std::string_view markup) {
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (size_t i = 0; i < markup.size();) {
        if (markup[i] != '&') {
            out += markup[i++];
            continue;
        }
        bool done = false;
        for (const auto &[name, c] : kEntities)
            if (markup.substr(i, name.size()) == name) {
                out += c;
                i += name.size();
                done = true;
                break;
            }
        if (done) continue;
        const size_t semi = markup.find(';', i);
        if (markup.substr(i, 2) == "&#" && semi != std::string_view::npos && semi - i <= 10) {
            const bool hex = i + 2 < markup.size() && (markup[i + 2] == 'x' || markup[i + 2] == 'X');
            unsigned long cp = 0;
            bool ok = semi > i + (hex ? 3 : 2);
            for (size_t k = i + (hex ? 3 : 2); ok && k < semi; ++k) {
                const char d = markup[k];
                const int v = d >= '0' && d <= '9' ? d - '0'
                              : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                              : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                            : -1;
                ok = v >= 0;
                cp = cp * (hex ? 16 : 10) + unsigned(v < 0 ? 0 : v);
            }
            if (ok && cp > 0 && cp <= 0x10FFFF) {
                appendUtf8(out, cp);
                i = semi + 1;
                continue;
            }
        }
        out += markup[i++];
    }
    return out;
}

}  // namespace smear
