#include "studio_api.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "page_files.h"
#include "studio.h"
#include "svg_sanitize.h"

namespace smear {

using nlohmann::json;

namespace {

// An error message quotes what was sent, but never more than this: a
// request may be megabytes long.
constexpr size_t kMaxQuotedBytes = 60;
constexpr size_t kMaxErrorBytes = 1000;

StudioResponse jsonResponse(const json &body, int status = 200) {
    // Replacement characters for bytes that are not UTF-8 (an id in a file),
    // so that an answer can always be written. With its charset, the type
    // is one the server does not compress: on this machine's loopback,
    // compressing an answer took longer than sending it (a 2,000-object
    // drawing: 186 ms with Brotli, 3 ms plain).
    return StudioResponse{status, "application/json; charset=utf-8",
                          body.dump(-1, ' ', false, json::error_handler_t::replace)};
}

// An answer to a call that may have changed the drawing: the studio's
// state and what changed in the drawing since the page last heard.
StudioResponse changedResponse(Studio &studio, json state) {
    state["changes"] = studio.drawingChanges();
    return jsonResponse(state);
}

StudioResponse errorResponse(int status, std::string message) {
    if (message.size() > kMaxErrorBytes) message = message.substr(0, kMaxErrorBytes) + "...";
    return jsonResponse(json{{"error", message}}, status);
}

// A value as an error message shows it: scalars as written (long strings
// cut short), lists and objects by their size, never serialized whole.
std::string shown(const json &v) {
    if (v.is_array()) return "a list of " + std::to_string(v.size()) + " values";
    if (v.is_object()) return "an object of " + std::to_string(v.size()) + " members";
    if (v.is_string() && v.get_ref<const std::string &>().size() > kMaxQuotedBytes)
        return json(v.get_ref<const std::string &>().substr(0, kMaxQuotedBytes)).dump(-1, ' ', false, json::error_handler_t::replace) +
               "...";
    return v.dump(-1, ' ', false, json::error_handler_t::replace);
}

json parseBody(const std::string &body) {
    // The parser and everything after it recurse once per level: a body
    // nested deeper than any request needs is refused before it is parsed.
    if (jsonNestingDepth(body) > kStudioMaxJsonDepth)
        throw StudioError(400, "the request's body nests lists and objects more than " +
                                   std::to_string(kStudioMaxJsonDepth) + " deep");
    json j = json::parse(body, nullptr, false);
    if (j.is_discarded()) throw StudioError(400, "the request's body is not valid JSON");
    if (!j.is_object()) throw StudioError(400, "the request's body must be a JSON object");
    return j;
}

const json &field(const json &o, const char *key) {
    if (!o.contains(key)) throw StudioError(400, std::string("needs \"") + key + "\"");
    return o[key];
}

std::string text(const json &o, const char *key) {
    const json &v = field(o, key);
    if (!v.is_string()) throw StudioError(400, std::string(key) + ": expected a string, got " + shown(v));
    return v.get<std::string>();
}

bool flag(const json &o, const char *key) {
    if (!o.contains(key)) return false;
    if (!o[key].is_boolean()) throw StudioError(400, std::string(key) + ": expected true or false, got " + shown(o[key]));
    return o[key].get<bool>();
}

double number(const json &v, const std::string &where) {
    if (!v.is_number()) throw StudioError(400, where + ": expected a number, got " + shown(v));
    return v.get<double>();
}

long long whole(const json &v, const std::string &where, long long min, long long max) {
    const double d = number(v, where);
    if (!(d >= double(min) && d <= double(max)) || d != double((long long)d))
        throw StudioError(400, where + ": expected a whole number from " + std::to_string(min) + " to " +
                                   std::to_string(max) + ", got " + shown(v));
    return (long long)d;
}

// [x, y], or [x1, y1, x2, y2] for a box.
std::vector<double> numbers(const json &o, const char *key, size_t count) {
    const json &v = field(o, key);
    if (!v.is_array() || v.size() != count)
        throw StudioError(400, std::string(key) + ": expected " + std::to_string(count) + " numbers, got " + shown(v));
    std::vector<double> out;
    for (size_t i = 0; i < count; ++i) out.push_back(number(v[i], std::string(key) + "[" + std::to_string(i) + "]"));
    return out;
}

StrokePoint strokePoint(const json &o, const std::string &where) {
    if (!o.is_object()) throw StudioError(400, where + ": expected {\"at\": [x, y], \"pressure\": p, \"modifiers\": m}");
    try {
        const std::vector<double> at = numbers(o, "at", 2);
        StrokePoint p{at[0], at[1], 255, 0};
        if (o.contains("pressure")) p.pressure = int(whole(o["pressure"], "pressure", 0, 255));
        if (o.contains("modifiers")) p.modifiers = int32_t(whole(o["modifiers"], "modifiers", 0, 0x7FFFFFFF));
        return p;
    } catch (const StudioError &e) {
        throw StudioError(e.status, where + "." + e.message);
    }
}

// A number in exponent form ("1e308", "-2.5E-3"), as a browser's number
// field may give it; the dialog reads decimals only.
bool exponentNumber(const std::string &text, double &value) {
    size_t i = 0;
    const auto digits = [&] {
        const size_t from = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        return i - from;
    };
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0 || i >= text.size() || (text[i] != 'e' && text[i] != 'E')) return false;
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (digits() == 0 || i != text.size()) return false;
    value = std::strtod(text.c_str(), nullptr);  // beyond a double: infinite, and so out of range
    return true;
}

// The user's typing in number fields as the dialog reads it: a number in
// exponent form is written out in decimals, or refused with the field's
// limits when it lies beyond them. Everything else is left for the dialog
// (which clamps and says what is no number) and the session's checks.
json typedAsTheDialogReads(Studio &studio, const std::string &tool, json actions) {
    if (!actions.is_array()) return actions;
    json fields;  // described only when some typing needs it
    for (size_t i = 0; i < actions.size(); ++i) {
        json &a = actions[i];
        double v = 0;
        if (!a.is_object() || !a.contains("type") || !a["type"].is_number_integer() || !a.contains("text") ||
            !a["text"].is_string() || !exponentNumber(a["text"].get<std::string>(), v))
            continue;
        if (fields.is_null()) fields = studio.dialog(tool)["items"];
        for (const json &item : fields) {
            if (item["id"] != a["type"] || item["kind"] != "number") continue;
            const double low = item["min"], high = item["max"];
            if (!(v >= low && v <= high)) {
                char limits[80];
                std::snprintf(limits, sizeof limits, "%.7g to %.7g", low, high);
                throw StudioError(400, "actions[" + std::to_string(i) + "]: item " + item["id"].dump() + ": " +
                                           shown(a["text"]) + " is out of range: the field takes " + limits);
            }
            const int precision = std::clamp(item["precision"].get<int>(), 0, 9);
            const double scale = std::pow(10.0, precision);
            char plain[400];
            std::snprintf(plain, sizeof plain, "%.*f", precision, std::round(v * scale) / scale);
            a["text"] = plain;
        }
    }
    return actions;
}

json selectRequest(Studio &studio, const json &b) {
    const bool add = flag(b, "add");
    if (b.contains("all")) studio.selectAll(flag(b, "all"));
    else if (b.contains("ids")) {
        const json &ids = b["ids"];
        if (!ids.is_array()) throw StudioError(400, "ids: expected a list of ids");
        std::vector<std::string> list;
        for (const json &id : ids) {
            if (!id.is_string()) throw StudioError(400, "ids: expected strings, got " + shown(id));
            // Objects without an id have the empty one: no id names them.
            if (id.get_ref<const std::string &>().empty()) throw StudioError(400, "ids: an empty id names no object");
            list.push_back(id.get<std::string>());
        }
        studio.selectIds(list);
    } else if (b.contains("at")) {
        const auto at = numbers(b, "at", 2);
        studio.selectAt(at[0], at[1], add);
    } else if (b.contains("box")) {
        const auto box = numbers(b, "box", 4);
        studio.selectBox(box[0], box[1], box[2], box[3], add);
    } else {
        throw StudioError(400, "select: give \"all\", \"ids\", \"at\": [x, y] or \"box\": [x1, y1, x2, y2]");
    }
    return studio.state();
}

StudioResponse post(Studio &studio, const std::string &path, const std::string &body) {
    const json b = parseBody(body);
    if (path == "/api/select") return changedResponse(studio, selectRequest(studio, b));
    if (path == "/api/options") {
        const std::string tool = text(b, "tool");
        return jsonResponse(studio.options(tool, typedAsTheDialogReads(studio, tool, field(b, "actions"))));
    }
    if (path == "/api/field")
        return jsonResponse(studio.setField(text(b, "tool"), int(whole(field(b, "item"), "item", 0, 0x7FFF)), text(b, "value")));
    // The drawing as the page holds it from now on.
    if (path == "/api/drawing") return jsonResponse(studio.drawingForPage());
    // A POST: asking for a dialog ends an open stroke.
    if (path == "/api/dialog") return jsonResponse(studio.dialog(text(b, "tool")));
    if (path == "/api/stroke/down") {
        studio.strokeDown(text(b, "tool"), strokePoint(b, "stroke"));
        return changedResponse(studio, studio.dragState());
    }
    if (path == "/api/stroke/drag") {
        const json &points = field(b, "points");
        if (!points.is_array()) throw StudioError(400, "points: expected a list of points");
        std::vector<StrokePoint> list;
        for (size_t i = 0; i < points.size(); ++i)
            list.push_back(strokePoint(points[i], "points[" + std::to_string(i) + "]"));
        studio.strokeDrag(list);
        json state = studio.dragState();
        state["changes"] = studio.dragChanges();
        return jsonResponse(state);
    }
    if (path == "/api/stroke/up") {
        const std::string message = studio.strokeUp();
        json state = studio.state();
        state["message"] = message;
        return changedResponse(studio, state);
    }
    if (path == "/api/undo" || path == "/api/redo") {
        const bool done = path == "/api/undo" ? studio.undo() : studio.redo();
        json state = studio.state();
        state["done"] = done;
        return changedResponse(studio, state);
    }
    if (path == "/api/save")
        return jsonResponse(studio.save(text(b, "svg"), text(b, "session"), flag(b, "overwrite")));
    throw StudioError(404, "no such call: POST " + path);
}

StudioResponse get(Studio &studio, const StudioRequest &r) {
    const std::string &path = r.path;
    if (path == "/api/state") return jsonResponse(studio.state());
    if (path == "/api/tools") return jsonResponse(studio.tools());
    if (path == "/api/dialog")
        throw StudioError(405, "a dialog is asked for with POST {\"tool\": ...}: it ends an open stroke, and no GET changes anything");
    if (path == "/api/session") {
        const auto svg = r.query.find("svg");
        return jsonResponse(studio.session(svg == r.query.end() ? "painted.svg" : svg->second));
    }
    if (path == "/drawing.svg") {
        SvgSanitizeResult shown = sanitizeSvg(studio.drawingSvg());
        if (!shown.error.empty()) throw StudioError(500, "the drawing cannot be shown: " + shown.error);
        // Not compressed either (see jsonResponse): the type names its charset.
        return StudioResponse{200, "image/svg+xml; charset=utf-8", std::move(shown.markup)};
    }
    const std::string icons = "/icons/";
    if (path.compare(0, icons.size(), icons) == 0 && path.size() > icons.size() + 4 &&
        path.compare(path.size() - 4, 4, ".svg") == 0) {
        const std::string digits = path.substr(icons.size(), path.size() - icons.size() - 4);
        if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos)
            throw StudioError(404, "no icon " + path);
        return StudioResponse{200, "image/svg+xml", studio.iconSvg(std::stoi(digits))};
    }
    if (path.empty() || path[0] != '/') throw StudioError(400, "a request's path starts with /: '" + path + "'");
    const std::string name = path == "/" ? "studio.html" : path.substr(1);
    for (const PageFile *f = studioPageFiles(); f->name; ++f)
        if (name == f->name)
            return StudioResponse{200, f->contentType, std::string(reinterpret_cast<const char *>(f->data), f->size)};
    throw StudioError(404, "nothing here: " + path);
}

}  // namespace

namespace {

// A page of another site may reach the loopback address through the user's
// browser: by a name that resolves here (its Host header is then its own
// name), or by posting a form (a simple request, which browsers send
// without asking). Only the studio's own host and origin pass, and only
// JSON bodies, which a browser sends across sites only after a preflight
// the studio never grants.
void checkOrigin(const StudioRequest &request, const StudioGuard &guard) {
    if (guard.hosts.empty()) return;
    const auto known = [&](const std::string &host) {
        return std::find(guard.hosts.begin(), guard.hosts.end(), host) != guard.hosts.end();
    };
    if (!known(request.host)) throw StudioError(403, "the studio answers only to " + guard.hosts.front());
    const std::string http = "http://";
    if (!request.origin.empty() && (request.origin.compare(0, http.size(), http) != 0 ||
                                    !known(request.origin.substr(http.size()))))
        throw StudioError(403, "requests from " + request.origin + " are not served");
    if (request.method == "POST" && !isJsonMediaType(request.contentType))
        throw StudioError(415, "the studio takes JSON bodies (Content-Type: application/json)");
}

}  // namespace

StudioResponse handleStudioRequest(Studio &studio, const StudioRequest &request, const StudioGuard &guard) {
    try {
        checkOrigin(request, guard);
        if (request.method == "GET" || request.method == "HEAD") return get(studio, request);
        if (request.method == "POST") return post(studio, request.path, request.body);
        return errorResponse(405, request.method + " is not served; the studio answers GET and POST");
    } catch (const StudioError &e) {
        return errorResponse(e.status, e.message);
    } catch (const json::exception &e) {
        // A value of an unexpected type deep in a request.
        return errorResponse(400, std::string("malformed request: ") + e.what());
    } catch (const std::bad_alloc &) {
        return errorResponse(500, "out of memory");
    } catch (const std::exception &e) {
        // Whatever else a request runs into is its answer, never the end of
        // the studio and the drawing in it.
        return errorResponse(500, std::string("the request failed: ") + e.what());
    }
}

std::vector<std::pair<std::string, std::string>> studioResponseHeaders(std::string_view contentType) {
    // The page runs its own script only, talks to the studio only, and shows
    // the icons as images. It holds the drawing as live SVG, whose style
    // attributes and style sheets (a blend mode, a named style's class) must
    // apply: inline style is allowed, which runs nothing (the markup has
    // been through sanitizeSvg, and no style may fetch from elsewhere).
    static const char kPagePolicy[] = "default-src 'none'; script-src 'self'; style-src 'self' 'unsafe-inline'; img-src 'self' data:; "
                                      "connect-src 'self'; form-action 'none'; base-uri 'none'; frame-ancestors 'none'";
    // Everything else, the drawing above all, may draw (inline styles and
    // embedded images) but never run, fetch, or be framed.
    static const char kContentPolicy[] =
        "default-src 'none'; style-src 'unsafe-inline'; img-src data:; font-src data:; sandbox; frame-ancestors 'none'";
    const bool page = contentType.substr(0, 9) == "text/html";
    return {{"Content-Security-Policy", page ? kPagePolicy : kContentPolicy},
            {"X-Content-Type-Options", "nosniff"},
            {"X-Frame-Options", "DENY"},
            {"Cross-Origin-Resource-Policy", "same-origin"},
            {"Referrer-Policy", "no-referrer"},
            {"Cache-Control", "no-store"}};
}

size_t jsonNestingDepth(std::string_view text) {
    size_t depth = 0, deepest = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;  // the escaped character is no quote
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

bool isJsonMediaType(std::string_view contentType) {
    // "type/subtype; parameters", the name in any case, blanks around it.
    std::string_view type = contentType.substr(0, contentType.find(';'));
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!type.empty() && blank(type.front())) type.remove_prefix(1);
    while (!type.empty() && blank(type.back())) type.remove_suffix(1);
    const std::string_view json = "application/json";
    if (type.size() != json.size()) return false;
    for (size_t i = 0; i < type.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(type[i])) != json[i]) return false;
    return true;
}

}  // namespace smear
