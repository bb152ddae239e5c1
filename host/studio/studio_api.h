// The studio's HTTP interface as plain requests and responses: the page, its
// script and style, the drawing, the icons, and the JSON calls that paint.
// The server in app/ hands every request here (one at a time); tests call it
// directly. Every input is checked: a malformed request gets a 4xx response
// with {"error": "..."} saying what is wrong, never a crash.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace smear {

class Studio;

struct StudioRequest {
    std::string method;  // "GET", "POST", ...
    std::string path;    // without the query
    std::map<std::string, std::string> query;
    std::string body;
    // Headers that say where the request comes from.
    std::string host, origin, contentType;
    // X-Studio-Order: the page's token and the call's place in its order
    // (RequestOrder); empty for a call that takes none.
    std::string order = {};
};

// Who may ask: the Host headers (and so origins) the studio answers to,
// "127.0.0.1:8765" and "localhost:8765". Any web page the user has open can
// make the browser send requests to the loopback address; these checks keep
// all but the studio's own page out. Empty: no checks (direct calls).
struct StudioGuard {
    std::vector<std::string> hosts;
};

struct StudioResponse {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
    // Headers of this answer besides those every answer carries.
    std::vector<std::pair<std::string, std::string>> headers = {};
};

StudioResponse handleStudioRequest(Studio &studio, const StudioRequest &request, const StudioGuard &guard = {});

// The deepest a request's JSON may nest lists and objects; the page never
// goes past 4.
constexpr size_t kStudioMaxJsonDepth = 64;

// How deep `text` nests JSON lists and objects, counted on the brackets
// outside strings, without parsing it (malformed text gives some number).
size_t jsonNestingDepth(std::string_view text);

// Whether a Content-Type header says JSON: "application/json" in any case,
// with or without parameters ("; charset=utf-8").
bool isJsonMediaType(std::string_view contentType);

// The headers every answer of the studio carries, by its content type:
// none may be framed by another site or read as another type, and nothing
// but the page may run a script, so that a drawing holding one (opened at
// its own address, framed, or in a preview) never runs it.
std::vector<std::pair<std::string, std::string>> studioResponseHeaders(std::string_view contentType);

}  // namespace smear
