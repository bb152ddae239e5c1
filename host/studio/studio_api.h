// The studio's HTTP interface as plain requests and responses: the page, its
// script and style, the drawing, the icons, and the JSON calls that paint.
// The server in app/ hands every request here (one at a time); tests call it
// directly. Every input is checked: a malformed request gets a 4xx response
// with {"error": "..."} saying what is wrong, never a crash.
#pragma once

#include <map>
#include <string>

namespace smear {

class Studio;

struct StudioRequest {
    std::string method;  // "GET", "POST", ...
    std::string path;    // without the query
    std::map<std::string, std::string> query;
    std::string body;
};

struct StudioResponse {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
};

StudioResponse handleStudioRequest(Studio &studio, const StudioRequest &request);

}  // namespace smear
