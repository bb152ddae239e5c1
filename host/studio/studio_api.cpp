#include "studio_api.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "page_files.h"
#include "studio.h"

namespace smear {

using nlohmann::json;

namespace {

StudioResponse jsonResponse(const json &body, int status = 200) {
    // Replacement characters for bytes that are not UTF-8 (an id in a file),
    // so that an answer can always be written.
    return StudioResponse{status, "application/json", body.dump(-1, ' ', false, json::error_handler_t::replace)};
}

StudioResponse errorResponse(int status, const std::string &message) {
    return jsonResponse(json{{"error", message}}, status);
}

json parseBody(const std::string &body) {
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
    if (!v.is_string()) throw StudioError(400, std::string(key) + ": expected a string, got " + v.dump());
    return v.get<std::string>();
}

bool flag(const json &o, const char *key) {
    if (!o.contains(key)) return false;
    if (!o[key].is_boolean()) throw StudioError(400, std::string(key) + ": expected true or false, got " + o[key].dump());
    return o[key].get<bool>();
}

double number(const json &v, const std::string &where) {
    if (!v.is_number()) throw StudioError(400, where + ": expected a number, got " + v.dump());
    return v.get<double>();
}

long long whole(const json &v, const std::string &where, long long min, long long max) {
    const double d = number(v, where);
    if (!(d >= double(min) && d <= double(max)) || d != double((long long)d))
        throw StudioError(400, where + ": expected a whole number from " + std::to_string(min) + " to " +
                                   std::to_string(max) + ", got " + v.dump());
    return (long long)d;
}

// [x, y], or [x1, y1, x2, y2] for a box.
std::vector<double> numbers(const json &o, const char *key, size_t count) {
    const json &v = field(o, key);
    if (!v.is_array() || v.size() != count)
        throw StudioError(400, std::string(key) + ": expected " + std::to_string(count) + " numbers, got " + v.dump());
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
        throw StudioError(e.status, where + "." + e.what());
    }
}

json selectRequest(Studio &studio, const json &b) {
    const bool add = flag(b, "add");
    if (b.contains("all")) studio.selectAll(flag(b, "all"));
    else if (b.contains("ids")) {
        const json &ids = b["ids"];
        if (!ids.is_array()) throw StudioError(400, "ids: expected a list of ids");
        std::vector<std::string> list;
        for (const json &id : ids) {
            if (!id.is_string()) throw StudioError(400, "ids: expected strings, got " + id.dump());
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
    if (path == "/api/select") return jsonResponse(selectRequest(studio, b));
    if (path == "/api/options") return jsonResponse(studio.options(text(b, "tool"), field(b, "actions")));
    if (path == "/api/stroke/down") {
        studio.strokeDown(text(b, "tool"), strokePoint(b, "stroke"));
        return jsonResponse(studio.state());
    }
    if (path == "/api/stroke/drag") {
        const json &points = field(b, "points");
        if (!points.is_array()) throw StudioError(400, "points: expected a list of points");
        std::vector<StrokePoint> list;
        for (size_t i = 0; i < points.size(); ++i)
            list.push_back(strokePoint(points[i], "points[" + std::to_string(i) + "]"));
        studio.strokeDrag(list);
        return jsonResponse(studio.state());
    }
    if (path == "/api/stroke/up") {
        const std::string message = studio.strokeUp();
        json state = studio.state();
        state["message"] = message;
        return jsonResponse(state);
    }
    if (path == "/api/undo" || path == "/api/redo") {
        const bool done = path == "/api/undo" ? studio.undo() : studio.redo();
        json state = studio.state();
        state["done"] = done;
        return jsonResponse(state);
    }
    if (path == "/api/save")
        return jsonResponse(studio.save(text(b, "svg"), text(b, "session"), flag(b, "overwrite")));
    throw StudioError(404, "no such call: POST " + path);
}

StudioResponse get(Studio &studio, const StudioRequest &r) {
    const std::string &path = r.path;
    if (path == "/api/state") return jsonResponse(studio.state());
    if (path == "/api/tools") return jsonResponse(studio.tools());
    if (path == "/api/dialog") {
        const auto tool = r.query.find("tool");
        if (tool == r.query.end()) throw StudioError(400, "dialog: say which tool (?tool=rotate)");
        return jsonResponse(studio.dialog(tool->second));
    }
    if (path == "/api/session") {
        const auto svg = r.query.find("svg");
        return jsonResponse(studio.session(svg == r.query.end() ? "painted.svg" : svg->second));
    }
    if (path == "/drawing.svg") return StudioResponse{200, "image/svg+xml", studio.drawingSvg()};
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
    if (request.method == "POST" && request.contentType.compare(0, 16, "application/json") != 0)
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
        return errorResponse(e.status, e.what());
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

}  // namespace smear
