// Reading session files: every field is checked before anything runs, so a
// malformed session fails with a message and never half-way through.
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>

#include "session.h"
#include "session_document.h"
#include "svg.h"

namespace smear {

namespace {

using nlohmann::json;
using Kind = SessionStep::Kind;

struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string &where, const std::string &what) { throw ParseError(where + ": " + what); }

const std::pair<const char *, Kind> kKinds[] = {
    {"startup", Kind::Startup}, {"shutdown", Kind::Shutdown}, {"unload", Kind::Unload},
    {"reload", Kind::Reload},   {"about", Kind::About},       {"tools", Kind::Tools},
    {"select", Kind::Select},   {"options", Kind::Options},   {"set", Kind::Set},
    {"cursor", Kind::Cursor},   {"stroke", Kind::Stroke},     {"undo", Kind::Undo},
    {"save", Kind::Save},       {"randoms", Kind::Randoms},   {"seed", Kind::Seed},
};

std::string kindList() {
    std::string s;
    for (const auto &k : kKinds) s += std::string(s.empty() ? "" : ", ") + k.first;
    return s;
}

double number(const json &j, const std::string &where) {
    if (!j.is_number()) fail(where, "expected a number, got " + j.dump());
    return j.get<double>();
}

long long whole(const json &j, const std::string &where, long long min, long long max) {
    const double v = number(j, where);
    if (v < double(min) || v > double(max) || v != std::trunc(v))
        fail(where, "expected a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                        ", got " + j.dump());
    return (long long)v;
}

std::string text(const json &j, const std::string &where) {
    if (!j.is_string()) fail(where, "expected a string, got " + j.dump());
    return j.get<std::string>();
}

// A coordinate of the drawing, which keeps single-precision numbers.
AIReal coordinate(const json &j, const std::string &where) {
    const double v = number(j, where);
    if (!(std::fabs(v) <= double(std::numeric_limits<AIReal>::max())))
        fail(where, j.dump() + " is beyond the range of the drawing");
    return AIReal(v);
}

AIRealPoint point(const json &j, const std::string &where) {
    if (!j.is_array() || j.size() != 2) fail(where, "expected a point [x, y], got " + j.dump());
    return AIRealPoint{coordinate(j[0], where + "[0]"), coordinate(j[1], where + "[1]")};
}

const json &member(const json &o, const char *key, const std::string &where) {
    if (!o.contains(key)) fail(where, std::string("needs \"") + key + "\"");
    return o[key];
}

// A value given once for all, or once per message.
template <class T>
std::vector<T> perMessage(const json &o, const char *key, size_t count, long long min, long long max, long long fallback,
                          const std::string &where) {
    if (!o.contains(key)) return std::vector<T>(count, T(fallback));
    const json &v = o[key];
    const std::string at = where + "." + key;
    if (v.is_number()) return std::vector<T>(count, T(whole(v, at, min, max)));
    if (!v.is_array() || v.size() != count)
        fail(at, "expected one number for all, or a list of " + std::to_string(count) + ", got " + v.dump());
    std::vector<T> out;
    for (size_t i = 0; i < count; ++i) out.push_back(T(whole(v[i], at + "[" + std::to_string(i) + "]", min, max)));
    return out;
}

DialogAction action(const json &a, const std::string &where) {
    if (!a.is_object()) fail(where, "expected an action object, got " + a.dump());
    const long long kMaxId = 0x7FFFFFFF;
    if (a.contains("type")) {
        if (!a.contains("text")) fail(where, "a \"type\" action needs its \"text\"");
        return DialogAction::type(ASInt32(whole(a["type"], where + ".type", 0, kMaxId)), text(a["text"], where + ".text"));
    }
    if (a.contains("check")) return DialogAction::check(ASInt32(whole(a["check"], where + ".check", 0, kMaxId)), true);
    if (a.contains("uncheck")) return DialogAction::check(ASInt32(whole(a["uncheck"], where + ".uncheck", 0, kMaxId)), false);
    if (a.contains("pick")) {
        const json &p = a["pick"];
        if (!p.is_array() || p.size() != 2) fail(where + ".pick", "expected [item, entry], got " + p.dump());
        return DialogAction::pick(ASInt32(whole(p[0], where + ".pick[0]", 0, kMaxId)),
                                  ASInt32(whole(p[1], where + ".pick[1]", 0, kMaxId)));
    }
    if (a.contains("press")) return DialogAction::press(ASInt32(whole(a["press"], where + ".press", 0, kMaxId)));
    if (a.contains("escape")) return DialogAction::escape();
    if (a.contains("close")) return DialogAction::closeBox();
    fail(where, "unknown action " + a.dump() + " (type + text, check, uncheck, pick, press, escape, close)");
}

std::string valueText(const json &v, const std::string &where) {
    if (v.is_string()) return v.get<std::string>();
    if (v.is_boolean()) return v.get<bool>() ? "1" : "0";
    if (v.is_number_integer()) return std::to_string(v.get<long long>());
    if (v.is_number()) return v.dump();
    fail(where, "expected a number, a string or true/false, got " + v.dump());
}

SessionStep step(const json &j, const std::string &where) {
    SessionStep s;
    std::string name;
    json arg;
    if (j.is_string()) {
        name = j.get<std::string>();
    } else if (j.is_object() && j.size() == 1) {
        name = j.begin().key();
        arg = j.begin().value();
    } else {
        fail(where, "a step is a name (\"startup\") or an object with one key ({\"save\": \"out.svg\"}), got " +
                        j.dump());
    }
    bool known = false;
    for (const auto &k : kKinds)
        if (name == k.first) {
            s.kind = k.second;
            known = true;
        }
    if (!known) fail(where, "unknown step \"" + name + "\" (steps: " + kindList() + ")");
    const std::string at = where + "." + name;
    const bool needsArgument = s.kind == Kind::Select || s.kind == Kind::Options || s.kind == Kind::Set ||
                               s.kind == Kind::Cursor || s.kind == Kind::Stroke || s.kind == Kind::Save ||
                               s.kind == Kind::Randoms || s.kind == Kind::Seed;
    if (needsArgument && arg.is_null()) fail(at, "this step needs a value");
    if (!needsArgument && !arg.is_null() && !(arg.is_object() && arg.empty()) && arg != json(true))
        fail(at, "this step takes no value");

    switch (s.kind) {
    case Kind::Select:
        if (arg == "all") s.selectAll = true;
        else if (arg == "none") s.selectAll = false;
        else if (arg.is_array())
            for (size_t i = 0; i < arg.size(); ++i) s.ids.push_back(text(arg[i], at + "[" + std::to_string(i) + "]"));
        else fail(at, "expected \"all\", \"none\" or a list of ids, got " + arg.dump());
        break;
    case Kind::Options: {
        if (!arg.is_object()) fail(at, "expected {\"tool\": ..., \"actions\": [...]}");
        s.tool = text(member(arg, "tool", at), at + ".tool");
        const json &actions = arg.value("actions", json::array());
        if (!actions.is_array()) fail(at + ".actions", "expected a list of actions");
        for (size_t i = 0; i < actions.size(); ++i)
            s.actions.push_back(action(actions[i], at + ".actions[" + std::to_string(i) + "]"));
        if (arg.contains("draw")) {
            s.path = text(arg["draw"], at + ".draw");
            if (s.path.empty()) fail(at + ".draw", "needs a file name");
        }
        break;
    }
    case Kind::Set:
        if (!arg.is_object()) fail(at, "expected {\"tool\": ..., \"field\": value, ...}");
        s.tool = text(member(arg, "tool", at), at + ".tool");
        for (auto it = arg.begin(); it != arg.end(); ++it)
            if (it.key() != "tool") s.values.emplace_back(it.key(), valueText(it.value(), at + "." + it.key()));
        if (s.values.empty()) fail(at, "names no option to set");
        break;
    case Kind::Cursor:
        if (!arg.is_object()) fail(at, "expected {\"tool\": ..., \"at\": [x, y]}");
        s.tool = text(member(arg, "tool", at), at + ".tool");
        s.points.push_back(arg.contains("at") ? point(arg["at"], at + ".at") : AIRealPoint{0, 0});
        break;
    case Kind::Stroke: {
        if (!arg.is_object()) fail(at, "expected {\"tool\": ..., \"points\": [[x, y], ...]}");
        s.tool = text(member(arg, "tool", at), at + ".tool");
        const json &pts = member(arg, "points", at);
        if (!pts.is_array() || pts.empty()) fail(at + ".points", "expected a list of points [x, y]");
        for (size_t i = 0; i < pts.size(); ++i) s.points.push_back(point(pts[i], at + ".points[" + std::to_string(i) + "]"));
        s.pressure = perMessage<ASInt16>(arg, "pressure", s.points.size(), 0, 255, 255, at);
        s.modifiers = perMessage<ASInt32>(arg, "modifiers", s.points.size() - 1, 0, 0x7FFFFFFF, 0, at);
        break;
    }
    case Kind::Save:
        s.path = text(arg, at);
        if (s.path.empty()) fail(at, "needs a file name");
        break;
    case Kind::Randoms:
        if (!arg.is_array()) fail(at, "expected a list of reals from 0 to 1");
        for (size_t i = 0; i < arg.size(); ++i) {
            const double v = number(arg[i], at + "[" + std::to_string(i) + "]");
            if (v < 0 || v > 1) fail(at + "[" + std::to_string(i) + "]", "must lie from 0 to 1");
            s.randoms.push_back(AIReal(v));
        }
        break;
    case Kind::Seed:
        s.seed = uint32_t(whole(arg, at, 0, 0xFFFFFFFFLL));
        break;
    default:
        break;
    }
    return s;
}

std::string folderOf(const std::string &path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string baseName(const std::string &path) {
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

const char *stepName(Kind kind) {
    for (const auto &k : kKinds)
        if (k.second == kind) return k.first;
    return "?";
}

bool parseSession(const json &j, Session &out, std::string &error) {
    try {
        // Before anything copies or prints a part of it, which recurses.
        if (jsonNestedDeeper(j, kSessionMaxJsonDepth))
            fail("session", "nested deeper than " + std::to_string(kSessionMaxJsonDepth) + " levels");
        if (!j.is_object()) fail("session", "expected an object with \"steps\", got " + j.dump().substr(0, 60));
        for (auto it = j.begin(); it != j.end(); ++it)
            if (it.key() != "document" && it.key() != "seed" && it.key() != "steps" && it.key() != "name")
                fail(it.key(), "unknown field (a session has document, seed, steps and name)");
        if (j.contains("name")) out.name = text(j["name"], "name");
        if (j.contains("document")) {
            const json &d = j["document"];
            if (!d.is_string() && !d.is_object() && !d.is_null())
                fail("document", "expected an SVG file name or an inline document, got " + d.dump());
            out.document = d;
        }
        if (j.contains("seed")) {
            out.hasSeed = true;
            out.seed = uint32_t(whole(j["seed"], "seed", 0, 0xFFFFFFFFLL));
        }
        const json &steps = member(j, "steps", "session");
        if (!steps.is_array()) fail("steps", "expected a list of steps");
        for (size_t i = 0; i < steps.size(); ++i) out.steps.push_back(step(steps[i], "steps[" + std::to_string(i) + "]"));
    } catch (const ParseError &e) {
        error = e.what();
        return false;
    }
    return true;
}

bool loadSessionFile(const std::string &path, Session &out, std::string &error) {
    std::string text, reason;
    if (!readInputFile(path, kSessionMaxFileBytes, text, reason)) {
        error = path + ": cannot open the session file: " + reason;
        return false;
    }
    json j;
    try {
        j = json::parse(text);
    } catch (const json::exception &e) {
        // Syntax errors, and numbers beyond a double ("1e400").
        error = path + ": not valid JSON: " + e.what();
        return false;
    }
    out = Session{};
    out.name = baseName(path);
    out.baseDir = folderOf(path);
    if (!parseSession(j, out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

SessionStep straightStroke(const std::string &tool, AIRealPoint from, AIRealPoint to, int steps, ASInt16 pressure) {
    SessionStep s;
    s.kind = Kind::Stroke;
    s.tool = tool;
    s.points.push_back(from);
    for (int i = 1; i <= steps; ++i) {
        const AIReal t = AIReal(i) / AIReal(steps);
        AIRealPoint p{from.h + (to.h - from.h) * t, from.v + (to.v - from.v) * t};
        // Points far apart on either side of zero are further apart than a
        // float holds; between them lies nothing a float cannot.
        if (!std::isfinite(p.h) || !std::isfinite(p.v))
            p = AIRealPoint{AIReal(from.h + (double(to.h) - from.h) * t), AIReal(from.v + (double(to.v) - from.v) * t)};
        s.points.push_back(p);
    }
    s.pressure.assign(s.points.size(), pressure);
    s.modifiers.assign(s.points.size() - 1, 0);
    return s;
}

}  // namespace smear
